#include "PreviewOfDocument.h"

#include "QuarkXPressRelease.h"
#include "QxpExtractRun.h"

#include <QFileInfo>

namespace {

QString ProblemText(QxpExtractOutcome outcome, const QString& name, const std::string& documentPath) {
    switch (outcome) {
    case QxpExtractOutcome::NotStarted:
        return QStringLiteral("“%1” cannot be previewed: the QuarkXPress reader qxpextract is missing. Reinstall Orvella.").arg(name);
    case QxpExtractOutcome::TimedOut:
        return QStringLiteral("“%1” cannot be previewed: reading it took too long.").arg(name);
    case QxpExtractOutcome::NoPasteboard:
        return QStringLiteral("“%1” cannot be previewed: the pasteboard store cannot be opened.").arg(name);
    default:
        // qxpextract reads QuarkXPress 3.1 to 4.1; a later release's document is named by its header.
        if (const std::optional<int> release = QuarkXPressReleaseOf(documentPath); release && *release >= 5)
            return QStringLiteral("QuarkXPress %1 document: pages of version 5 and later cannot be drawn").arg(*release);
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
        return std::make_unique<PreviewWindow>(name, ProblemText(run.outcome, name, documentPath), look);
    return std::make_unique<PreviewWindow>(name, document, look);
}
