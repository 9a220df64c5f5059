// kio-preview-probe SIZE FILE [EXPECTED.png]
// Asks KDE's thumbnail worker for FILE's preview through KIO::PreviewJob, with every thumbnail
// plugin enabled and the preview cached, as Dolphin asks. Prints the file's type and "preview
// WIDTHxHEIGHT" or "failed"; with EXPECTED, whether the preview's pixels are EXPECTED's.
// Exit status: 0 a preview (the same pixels, with EXPECTED), 1 failed, 2 other pixels, 3 usage.
#include <KFileItem>
#include <KIO/PreviewJob>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: kio-preview-probe SIZE FILE [EXPECTED.png]\n");
        return 3;
    }
    const int size = QString(argv[1]).toInt();
    const KFileItem item(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[2])));
    std::printf("type %s\n", qPrintable(item.mimetype()));

    const QStringList plugins = KIO::PreviewJob::availablePlugins();
    KIO::PreviewJob* job = KIO::filePreview(KFileItemList{item}, QSize(size, size), &plugins);
    QImage preview;
    QObject::connect(job, &KIO::PreviewJob::gotPreview, [&](const KFileItem&, const QPixmap& pixmap) { preview = pixmap.toImage(); });
    QObject::connect(job, &KJob::result, &application, &QCoreApplication::quit);
    QTimer::singleShot(60000, &application, &QCoreApplication::quit);
    application.exec();

    if (preview.isNull()) {
        std::printf("failed\n");
        return 1;
    }
    std::printf("preview %dx%d\n", preview.width(), preview.height());
    if (argc == 4) {
        // Compared premultiplied, as they are shown: KIO hands pictures over premultiplied, and the
        // straight colour of a transparent or partly transparent pixel does not survive that exactly.
        const QImage expected(QString::fromLocal8Bit(argv[3]));
        const QImage shown = preview.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const bool same = !expected.isNull() && expected.convertToFormat(QImage::Format_ARGB32_Premultiplied) == shown;
        int straightDifferences = 0;
        const QImage straight = expected.convertToFormat(QImage::Format_ARGB32), straightPreview = preview.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; same && y < straight.height(); ++y)
            for (int x = 0; x < straight.width(); ++x)
                straightDifferences += straight.pixel(x, y) != straightPreview.pixel(x, y);
        std::printf("%s pixels as %s (the straight colours of %d transparent pixels differ)\n", same ? "the same" : "other", argv[3],
                    straightDifferences);
        return same ? 0 : 2;
    }
    return 0;
}
