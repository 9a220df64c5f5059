#include "PreviewOfDocument.h"

#include "QxpExtractRun.h"

#include <QFileInfo>

namespace {

QString ProblemText(QxpExtractOutcome outcome, const QString& name) {
    switch (outcome) {
    case QxpExtractOutcome::NotStarted:
        return QStringLiteral("“%1” cannot be previewed: the QuarkXPress reader qxpextract is missing. Reinstall Orvella.").arg(name);
    case QxpExtractOutcome::TimedOut:
        return QStringLiteral("“%1” cannot be previewed: reading it took too long.").arg(name);
    case QxpExtractOutcome::NoPasteboard:
        return QStringLiteral("“%1” cannot be previewed: the pasteboard store cannot be opened.").arg(name);
    default:
        return QStringLiteral("“%1” cannot be previewed: it is not a QuarkXPress document that can be read "
                              "(QuarkXPress 3.1 to 4.1), or it is damaged.").arg(name);
    }
}

}  // namespace

std::unique_ptr<PreviewWindow> PreviewOfDocument(const std::string& qxpextractPath, const std::string& documentPath) {
    const PreviewLook look = ReadPreviewLook();
    const QString name = QFileInfo(QString::fromLocal8Bit(documentPath.c_str())).fileName();
    const QxpExtractItems run = qxpextractPath.empty() ? QxpExtractItems{} : RunQxpExtract(qxpextractPath, "-p", documentPath);
    const ExtractedDocument document = ExtractedDocumentFromItems(run.data);
    if (run.outcome != QxpExtractOutcome::Finished || document.empty())
        return std::make_unique<PreviewWindow>(name, ProblemText(run.outcome, name), look);
    return std::make_unique<PreviewWindow>(name, document, look);
}
