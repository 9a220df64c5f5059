// kfilemetadata-probe FILE MIMETYPE: asks KDE's own KFileMetaData for every extractor of the type
// and prints what they found, one "name<TAB>value" line per property, then "text<TAB>..." and
// "type<TAB>...". It is how Baloo and Dolphin see a file.
#include <KFileMetaData/ExtractorCollection>
#include <KFileMetaData/PropertyInfo>
#include <KFileMetaData/SimpleExtractionResult>
#include <KFileMetaData/TypeInfo>

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString mimeType = QString::fromLocal8Bit(argv[2]);
    QTextStream out(stdout);
    KFileMetaData::ExtractorCollection collection;
    const auto extractors = collection.fetchExtractors(mimeType);
    out << "extractors\t" << extractors.size() << '\n';
    for (KFileMetaData::Extractor* extractor : extractors) {
        KFileMetaData::SimpleExtractionResult result(path, mimeType);
        extractor->extract(&result);
        const auto properties = result.properties(KFileMetaData::MultiMap);
        for (auto property = properties.cbegin(); property != properties.cend(); ++property) {
            const QVariant& value = property.value();
            const QString text = value.canConvert<QStringList>() ? value.toStringList().join(QLatin1Char('|')) : value.toString();
            out << KFileMetaData::PropertyInfo(property.key()).name() << '\t' << text << '\n';
        }
        out << "text\t" << result.text().simplified() << '\n';
        for (KFileMetaData::Type::Type type : result.types()) out << "type\t" << KFileMetaData::TypeInfo(type).name() << '\n';
    }
    return 0;
}
