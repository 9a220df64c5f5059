// The alert window as the user sees it: a comfortable width, the message in bold above the
// informative text, no word broken across lines, the keyboard answering as on the desktop, and
// the window kept over the window it speaks about.
// Run at 1x and, as AlertPanelTests2x, at 2x scale.
#include <AppKit/AppKit.h>
#include <AppKit/AppKitApplication.h>
#include <AppKit/NSAlertPanel.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>

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

// The lines the label shows its text in: each fits the text column, and together they hold the
// text's words whole, in order.
std::vector<QString> linesOf(const QLabel* label)
{
    const int width = label->contentsRect().width();
    const std::vector<QString> lines = NSAlertTextLines(label->text(), label->font(), width);
    for (const QString& line : lines)
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(line), width) << "a line wider than the text column";
    if (!label->isHidden()) {
        EXPECT_EQ(label->height(), static_cast<int>(lines.size()) * QFontMetrics(label->font()).lineSpacing()) << "the label's height";
    }
    return lines;
}

void expectNoWordBroken(const QLabel* label)
{
    QStringList joined;
    for (const QString& line : linesOf(label))
        joined << line;
    EXPECT_EQ(joined.join(QLatin1Char(' ')).toStdString(), label->text().simplified().toStdString()) << "a word broken across lines";
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
        EXPECT_EQ(panel.messageLabel()->text().toStdString(), text.message) << "the alert's own text, nothing invisible added";
        EXPECT_EQ(panel.informativeLabel()->text().toStdString(), text.informative);
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

TEST(AlertPanel, IsTransientForAndModalToTheWindowInFront)
{
    AppKitEnsureApplication();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Orvella"));
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    auto alert = makeAlert(kAlerts[1]);
    NSAlertPanel panel(*alert);
    panel.dialog()->winId();
    EXPECT_EQ(panel.dialog()->parentWidget(), &window);
    EXPECT_EQ(panel.dialog()->windowHandle()->transientParent(), window.windowHandle());
    EXPECT_EQ(panel.dialog()->windowModality(), Qt::WindowModal);
    EXPECT_EQ(panel.dialog()->windowTitle().toStdString(), "Orvella") << "named after its window";
    EXPECT_FALSE(panel.dialog()->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    window.hide();
    QApplication::processEvents();
    NSAlertPanel alone(*alert);
    EXPECT_EQ(alone.dialog()->parentWidget(), nullptr) << "no window to belong to";
    EXPECT_EQ(alone.dialog()->windowModality(), Qt::ApplicationModal);
}

TEST(AlertPanel, TheWindowUnderItIsDrawnAgainBeforeTheCallerGoesOn)
{
    // The pane goes on to wait for a password and to sleep right after its alerts.
    AppKitEnsureApplication();
    QWidget window;
    window.resize(400, 300);
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    window.installEventFilter(&counter);
    auto alert = makeAlert(kAlerts[1]);
    NSAlertPanel panel(*alert);
    int paintsWhenAnswered = -1;
    QTimer::singleShot(0, panel.dialog(), [&] {
        paintsWhenAnswered = counter.paints;
        panel.button(1)->click();
    });
    EXPECT_EQ(panel.run(), NSAlertSecondButtonReturn);
    EXPECT_GT(counter.paints, paintsWhenAnswered);
    EXPECT_FALSE(panel.dialog()->isVisible());
}
