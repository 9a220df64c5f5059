// The alert window as the user sees it: a comfortable width, the message in bold above the
// informative text, no word broken across lines, and the keyboard answering as on the desktop.
// Run at 1x and, as AlertPanelTests2x, at 2x scale.
#include <AppKit/AppKit.h>
#include <AppKit/NSAlertPanel.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextLayout>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct AlertText {
    const char* message;
    const char* informative;
    std::vector<NSString> buttons;
};

const AlertText kAlerts[] = {
    {"Attention!", "Please logout your system once to make the settings changed, that you have made.", {"Logout", "Later"}},
    {"UnInstall!", "Do you want to un-install the product?", {"Yes", "Cancel"}},
    {"UnInstall Failed!", "", {"Ok"}},
    {"Settings Not Saved!",
     "The settings could not be written to \"/home/a user/Library/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist\". "
     "Make sure the Foliotta preview generator is installed and that you may change it.",
     {"Ok"}},
    {"Successfully uninstalled!", "Thanks for using Brimwell's product.", {"Ok"}},
    {"Failed!", "Failed to acquire root  access.", {"Ok"}},
    // Hyphens at every place a line could end.
    {"Un-install, re-install, un-install, re-install, un-install, re-install, un-install",
     "un-install re-install un-install re-install un-install re-install un-install re-install un-install re-install "
     "un-install re-install un-install re-install un-install re-install un-install re-install un-install re-install",
     {"Ok"}},
};

std::unique_ptr<NSAlert> makeAlert(const AlertText& text)
{
    auto alert = std::make_unique<NSAlert>();
    alert->setMessageText(text.message);
    alert->setInformativeText(text.informative);
    for (const NSString& title : text.buttons)
        alert->addButtonWithTitle(title);
    return alert;
}

// The label's text as it is laid out in the label's width, one string per line.
std::vector<QString> linesOf(const QLabel* label)
{
    QTextLayout layout(label->text(), label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    std::vector<QString> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        EXPECT_LE(line.naturalTextWidth(), label->contentsRect().width()) << "a word wider than the text column";
        lines.push_back(label->text().mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}

// Every line but the last ends where a word ends: in a blank.
void expectNoWordBroken(const QLabel* label)
{
    const std::vector<QString> lines = linesOf(label);
    for (size_t index = 0; index + 1 < lines.size(); ++index)
        EXPECT_TRUE(lines[index].endsWith(QLatin1Char(' '))) << "line ends inside a word: \"" << lines[index].toStdString() << "\"";
}

}  // namespace

TEST(AlertPanel, LaysTextOutAtAComfortableWidthWithoutBreakingWords)
{
    for (const AlertText& text : kAlerts) {
        SCOPED_TRACE(text.message);
        auto alert = makeAlert(text);
        NSAlertPanel panel(*alert);
        panel.dialog()->adjustSize();

        const int width = panel.dialog()->width();
        const int comfortable = QFontMetrics(panel.informativeLabel()->font()).averageCharWidth() * 45;
        EXPECT_GE(panel.informativeLabel()->width(), comfortable);
        EXPECT_LE(width, 1000);
        EXPECT_TRUE(panel.messageLabel()->font().bold());
        EXPECT_NE(panel.dialog()->windowTitle(), panel.messageLabel()->text()) << "the message is said once";
        if (*text.informative) {
            EXPECT_FALSE(panel.informativeLabel()->isHidden());
            EXPECT_GE(panel.informativeLabel()->geometry().top(), panel.messageLabel()->geometry().bottom());
        }
        expectNoWordBroken(panel.messageLabel());
        expectNoWordBroken(panel.informativeLabel());
        EXPECT_LE(linesOf(panel.informativeLabel()).size(), text.informative == std::string(kAlerts[0].informative) ? 2u : 6u);
    }
}

TEST(AlertPanel, ReturnPressesTheFirstButtonAndEscapeTheLast)
{
    struct Case {
        int key;
        NSModalResponse answer;
    };
    for (const Case& c : {Case{Qt::Key_Return, NSAlertFirstButtonReturn}, Case{Qt::Key_Enter, NSAlertFirstButtonReturn},
                          Case{Qt::Key_Escape, NSAlertSecondButtonReturn}}) {
        auto alert = makeAlert(kAlerts[1]);
        NSAlertPanel panel(*alert);
        QTimer::singleShot(0, panel.dialog(), [&panel, key = c.key] {
            QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : panel.dialog();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(focus, &press);
        });
        EXPECT_EQ(panel.run(), c.answer) << c.key;
        EXPECT_GT(panel.button(0)->x(), panel.button(1)->x()) << "the first button is rightmost";
    }
}

TEST(AlertPanel, AnAlertNoOneCanSeeIsAnsweredByItsLastButton)
{
    testing::internal::CaptureStderr();
    auto alert = makeAlert(kAlerts[1]);
    EXPECT_EQ(alert->runModal(), NSAlertSecondButtonReturn);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no one can answer \"UnInstall!\""), std::string::npos);
}
