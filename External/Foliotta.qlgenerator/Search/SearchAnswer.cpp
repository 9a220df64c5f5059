#include "SearchAnswer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QUrl>

namespace {

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QByteArray Compact(const QJsonObject& answer) { return QJsonDocument(answer).toJson(QJsonDocument::Compact) + '\n'; }

}  // namespace

SearchRequest ReadSearchRequest(const QByteArray& json) {
    SearchRequest request;
    if (json.size() > kLongestSearchRequest) {
        request.problem = QStringLiteral("the request is longer than %1 bytes").arg(kLongestSearchRequest);
        return request;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject()) {
        request.problem = QStringLiteral("the request is not a JSON object: ") + error.errorString();
        return request;
    }
    const QJsonObject object = document.object();
    request.path = object.value(QStringLiteral("path")).toString();
    request.mimeType = object.value(QStringLiteral("mimetype")).toString();
    if (request.path.startsWith(QStringLiteral("file:"))) request.path = QUrl(request.path).toLocalFile();
    if (request.path.isEmpty()) request.problem = QStringLiteral("the request names no path");
    if (request.path.contains(QChar(0))) request.problem = QStringLiteral("the path holds a NUL character");
    return request;
}

QByteArray SearchAnswer(const ExtractedDocument& document) {
    QJsonObject properties;
    properties[QStringLiteral("typeInfo")] = QStringLiteral("Document");
    if (!document.text.empty()) properties[QStringLiteral("text")] = Utf8(document.text);
    if (!document.format.empty()) properties[QStringLiteral("generator")] = Utf8(document.format);
    if (!document.pageSizes.empty()) properties[QStringLiteral("pageCount")] = static_cast<qint64>(document.pageSizes.size());
    // One text: KFileMetaData hands a JSON array on as a list that its indexer does not read.
    if (!document.fonts.empty()) {
        QStringList fonts;
        for (const auto& font : document.fonts) fonts << Utf8(font);
        properties[QStringLiteral("keywords")] = fonts.join(QStringLiteral(", "));
    }
    QJsonObject answer;
    answer[QStringLiteral("status")] = QStringLiteral("OK");
    answer[QStringLiteral("properties")] = properties;
    return Compact(answer);
}

QByteArray EmptySearchAnswer(const QString& reason) {
    QJsonObject answer;
    answer[QStringLiteral("status")] = QStringLiteral("Error");
    answer[QStringLiteral("error")] = reason;
    answer[QStringLiteral("properties")] = QJsonObject();
    return Compact(answer);
}
