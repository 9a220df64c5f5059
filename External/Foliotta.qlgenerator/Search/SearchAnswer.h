// The answer of a KFileMetaData external extractor: a JSON object with "status" and the
// "properties" found, named as KFileMetaData names them ("text", "typeInfo", PropertyInfo names).
#pragma once

#include "ExtractedDocument.h"

#include <QByteArray>
#include <QString>

struct SearchRequest {
    QString path;      // a local path (a file: URL is accepted too)
    QString mimeType;
    QString problem;   // set when the request could not be read
};

// KDE sends one small object; anything longer than this is refused rather than read whole.
inline constexpr qsizetype kLongestSearchRequest = 64 * 1024;

// A request longer than kLongestSearchRequest, or whose path holds a NUL character (which no
// file name can), is a problem rather than a path.
SearchRequest ReadSearchRequest(const QByteArray& json);

// What `qxpextract -s` found: the text, the generator (format and version), the page count and
// the fonts (KFileMetaData has no font property; they go into the keywords, which search indexes).
// Property names are PropertyInfo::name() exactly: KFileMetaData drops any other spelling.
QByteArray SearchAnswer(const ExtractedDocument& document);
// A valid answer with no properties and the reason, for a request or document that gave nothing.
QByteArray EmptySearchAnswer(const QString& reason);
