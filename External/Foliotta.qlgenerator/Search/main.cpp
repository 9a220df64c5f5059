// foliotta-search: the KFileMetaData external extractor for QuarkXPress documents. KFileMetaData
// starts it with {"path": ..., "mimetype": ...} on standard input and reads one JSON answer from
// standard output; whatever happens, that answer is valid JSON and nothing else is printed there.
#include "ExtractedDocument.h"
#include "HelperProgram.h"
#include "QxpExtractRun.h"
#include "SearchAnswer.h"

#include <QFile>

#include <cstdio>

namespace {

// At most one byte past the longest request, so that an endless input is refused, not read.
QByteArray ReadStandardInput() {
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) return {};
    QByteArray request;
    while (request.size() <= kLongestSearchRequest) {
        const QByteArray more = input.read(kLongestSearchRequest + 1 - request.size());
        if (more.isEmpty()) break;
        request += more;
    }
    return request;
}

QByteArray Answer(const SearchRequest& request) {
    if (!request.problem.isEmpty()) return EmptySearchAnswer(request.problem);
    const std::string tool = LocateQxpExtract(QXPEXTRACT_FROM_SEARCH);
    if (tool.empty()) return EmptySearchAnswer(QStringLiteral("qxpextract is not installed beside foliotta-search"));

    const QxpExtractItems run = RunQxpExtract(tool, "-s", request.path.toStdString());
    const ExtractedDocument document = ExtractedDocumentFromItems(run.data);
    switch (run.outcome) {
    case QxpExtractOutcome::NotStarted: return EmptySearchAnswer(QStringLiteral("qxpextract could not be started"));
    case QxpExtractOutcome::TimedOut: return EmptySearchAnswer(QStringLiteral("reading the document took too long"));
    case QxpExtractOutcome::Failed: return EmptySearchAnswer(QStringLiteral("qxpextract failed on ") + request.path);
    case QxpExtractOutcome::NoPasteboard: return EmptySearchAnswer(QStringLiteral("the pasteboard store cannot be opened"));
    case QxpExtractOutcome::Finished: break;
    }
    if (document.empty())
        return EmptySearchAnswer(QStringLiteral("not a QuarkXPress document that can be read: ") + request.path);
    return SearchAnswer(document);
}

}  // namespace

int main() {
    const SearchRequest request = ReadSearchRequest(ReadStandardInput());
    const QByteArray answer = Answer(request);
    const bool written = std::fwrite(answer.constData(), 1, static_cast<size_t>(answer.size()), stdout) ==
                             static_cast<size_t>(answer.size()) && std::fflush(stdout) == 0;
    if (!written) return 1;
    return request.problem.isEmpty() ? 0 : 2;
}
