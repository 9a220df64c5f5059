// The quick preview of one document: the framed first page on the left; on the right the summary,
// the facts (first page size, fonts, colour swatches, each page's size) and the text, which can
// be selected, copied and searched. Escape or Space closes it; it keeps no state of its own.
#pragma once

#include "ExtractedDocument.h"
#include "PreviewLook.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTextBrowser;

class PreviewWindow : public QWidget {
public:
    static constexpr QSize kDefaultSize{1000, 700};

    // A readable document.
    PreviewWindow(const QString& documentName, const ExtractedDocument& document, const PreviewLook& look);
    // A document that could not be read: the message stands where the facts would.
    PreviewWindow(const QString& documentName, const QString& message, const PreviewLook& look);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build(const QString& documentName, const QImage& page, const PreviewLook& look);
    void FindAll(const QString& wanted);
    void FindNext();
    bool ClosesWindow(const QKeyEvent* event) const;

    QLabel* summary_ = nullptr;
    QTextBrowser* facts_ = nullptr;
    QLineEdit* find_ = nullptr;
    QLabel* matches_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};
