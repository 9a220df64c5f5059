// The window an alert is shown in, laid out as the desktop's own message boxes are: the style's
// icon, the message text in bold, the informative text below it, and the buttons in a row at the
// right with the first one rightmost and default (Return) and the last one answering Escape.
// The text column is a comfortable reading width, and no word is broken across lines, not even
// at its hyphen. The window is transient for, and modal to, the window in front when it is made.
//
// Internal to the AppKit stand-in: the alert presenter runs it, and tests build it to look at.
#pragma once

#include "NSAlert.h"

#include <QDialog>
#include <QPointer>

#include <vector>

class QFont;
class QString;
class QLabel;
class QPushButton;

class NSAlertPanel {
public:
    // Builds the window for the alert without showing it.
    explicit NSAlertPanel(const NSAlert& alert);
    ~NSAlertPanel();
    NSAlertPanel(const NSAlertPanel&) = delete;
    NSAlertPanel& operator=(const NSAlertPanel&) = delete;

    QDialog* dialog() const { return dialog_.data(); }
    QLabel* messageLabel() const { return messageLabel_; }
    QLabel* informativeLabel() const { return informativeLabel_; }
    // The titles shown, in the order added: "OK" alone for an alert without buttons.
    const std::vector<NSString>& buttonTitles() const { return titles_; }
    QPushButton* button(size_t index) const { return buttons_.at(index); }

    // Shows the window modally until a button is pressed, and answers that button's
    // NSAlertFirstButtonReturn + index. Escape and closing the window press the last button.
    // The window under it has been drawn again when this returns.
    NSModalResponse run();

private:
    QPointer<QDialog> dialog_;
    QLabel* messageLabel_ = nullptr;
    QLabel* informativeLabel_ = nullptr;
    std::vector<NSString> titles_;
    std::vector<QPushButton*> buttons_;
};

// The lines an alert shows its text in at this width: broken only at blanks (and line feeds), so
// that a hyphen, slash or other mark inside a word keeps the word on one line.
std::vector<QString> NSAlertTextLines(const QString& text, const QFont& font, int width);
