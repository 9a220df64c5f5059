// The pane as a user of the desktop reaches it: every control named for screen readers and
// reachable by a mnemonic, Return pressing Apply, and the screenshots the README shows.
#include "PaneTestSupport.h"

#include "ChildProcess.h"
#include "NSAlertTestDriver.h"

#include <AppKit/NSAlertPanel.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>

#include <unistd.h>

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// The controls the user works, by object name.
const char* const kControls[] = {"comboSkin", "radioNoColor", "radioColor", "myColor", "butUninstall", "buttonImage"};

// The label text that carries the control's mnemonic: its own, or that of the label it is the buddy of.
QString mnemonicTextOf(QWidget* control, QWidget* view)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control); button && button->text().contains(QLatin1Char('&')))
        return button->text();
    for (QLabel* label : view->findChildren<QLabel*>())
        if (label->buddy() == control)
            return label->text();
    return {};
}

void pressReturnIn(QWidget* widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

}  // namespace

using Look = PaneTest;

TEST_F(Look, EveryControlHasAnAccessibleNameADescriptionAndAMnemonic)
{
    openPane();
    QWidget* view = pane_->mainView()->widget();
    std::set<QChar> mnemonics;
    for (const char* name : kControls) {
        SCOPED_TRACE(name);
        auto* control = view->findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(control, nullptr);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty());
        EXPECT_FALSE(accessible->text(QAccessible::Description).isEmpty());
        if (std::string(name) == "myColor")
            continue;  // a swatch without a label of its own: reached by Tab after its radio cell
        const QString text = mnemonicTextOf(control, view);
        const qsizetype marker = text.indexOf(QLatin1Char('&'));
        ASSERT_GE(marker, 0) << "no mnemonic";
        EXPECT_TRUE(mnemonics.insert(text[marker + 1].toLower()).second) << "mnemonic used twice";
    }
    QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(pane_->imageWell->widget());
    EXPECT_FALSE(picture->text(QAccessible::Name).isEmpty());
    EXPECT_EQ(pane_->buttonImage->title().utf8(), "Apply") << "the title reads without its mnemonic marker";
}

TEST_F(Look, ScreenReadersHearTheWindowTheChosenColourAndAlertsOverTheWindow)
{
    installGenerator(userLibrary(), PlistWithBody("<key>BGColor</key><string>RGB(51,102,204)</string>\n"));
    openPane();
    NSWindow* window = showInWindow("Orvella");

    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(window->widget());
    EXPECT_EQ(frame->role(), QAccessible::Window) << "a window, so that its title is announced";
    EXPECT_EQ(frame->text(QAccessible::Name).toStdString(), "Orvella");
    QAccessibleInterface* well = QAccessible::queryAccessibleInterface(pane_->myColor->widget());
    QAccessibleInterface* radio = QAccessible::queryAccessibleInterface(pane_->mainView()->widget()->findChild<QWidget*>("radioColor"));
    EXPECT_NE(well->text(QAccessible::Name), radio->text(QAccessible::Name)) << "the well has a name of its own";
    EXPECT_EQ(well->text(QAccessible::Description).toStdString(), "RGB(51,102,204)");

    QWidget* owner = nullptr;
    NSAlertTestDriver::whenShown([&owner](NSAlertPanel& panel) { owner = panel.dialog()->parentWidget(); });
    NSAlertTestDriver::answerWith({"Cancel"});
    qobject_cast<QAbstractButton*>(pane_->butUninstall->widget())->click();
    EXPECT_EQ(owner, window->widget()) << "the alert belongs to the pane's window";
}

TEST_F(Look, ReturnPressesApplyWhereverTheFocusIs)
{
    for (const char* focused : {"comboSkin", "radioColor", "myColor", "butUninstall"}) {
        SCOPED_TRACE(focused);
        const std::string settings = installGenerator(userLibrary(), PlistWithBody("<key>BGColor</key><string>none</string>\n"));
        openPane();
        NSWindow* window = showInWindow();
        EXPECT_EQ(window->widget()->focusWidget(), pane_->comboSkin->widget()) << "the skin list has focus first";
        QWidget* control = pane_->mainView()->widget()->findChild<QWidget*>(QLatin1String(focused));
        control->setFocus();
        pickSkin(2);
        NSAlertTestDriver::answerWith({"Logout"});
        pressReturnIn(control);
        ASSERT_EQ(NSAlertTestDriver::recordedAlerts().size(), 1u) << "one logout prompt, no other alert";
        EXPECT_EQ(NSAlertTestDriver::recordedAlerts()[0].messageText, "Attention!");
        EXPECT_EQ(StoredString(settings, "Skin Index"), "1");
        nextCase();
    }
}

TEST_F(Look, EnlargingTheWindowEnlargesThePictureAndKeepsTheControlsTogether)
{
    openPane();
    NSWindow* window = showInWindow();
    auto* picture = qobject_cast<QLabel*>(pane_->imageWell->widget());
    QWidget* skins = pane_->comboSkin->widget();
    QWidget* well = pane_->myColor->widget();
    const QSize pictureBefore = picture->pixmap().deviceIndependentSize().toSize();
    const int gapBefore = well->mapTo(window->widget(), QPoint()).y() - skins->mapTo(window->widget(), QPoint()).y();

    window->widget()->resize(window->widget()->size() * 3 / 2);
    QApplication::processEvents();
    const QSize pictureAfter = picture->pixmap().deviceIndependentSize().toSize();
    EXPECT_GT(pictureAfter.width(), pictureBefore.width() * 5 / 4);
    EXPECT_GT(pictureAfter.height(), pictureBefore.height() * 5 / 4);
    EXPECT_EQ(well->mapTo(window->widget(), QPoint()).y() - skins->mapTo(window->widget(), QPoint()).y(), gapBefore);
}

// Pictures for the README of the pane and of each alert it shows, at 1x and 2x: each scale in
// a child process of its own, as the scale is fixed when the program starts.
TEST_F(Look, ScreenshotsAtOneAndTwoTimesScale)
{
    const std::string folder = std::string(std::getenv("BUILD_DIR")) + "/screenshots";
    fs::create_directories(folder);
    for (const char* scale : {"1", "2"}) {
        const ChildResult child = RunChild({ThisProgram(), "--gtest_filter=LookChild.*"},
                                           {{"SCREENSHOT_FOLDER", folder}, {"QT_SCALE_FACTOR", scale}, {"NSALERT_LOG", std::nullopt}});
        EXPECT_EQ(child.exitStatus, 0) << child.standardOutput << child.standardError;
    }
    for (const char* picture : {"pane", "alert-logout", "alert-not-saved", "alert-uninstall", "alert-uninstall-failed"})
        for (const char* suffix : {".png", "@2x.png"})
            EXPECT_TRUE(fs::exists(folder + "/" + picture + suffix)) << picture << suffix;
}

using LookChild = PaneTest;

TEST_F(LookChild, TakeScreenshots)
{
    if (!std::getenv("SCREENSHOT_FOLDER"))
        GTEST_SKIP() << "runs as a child process";
    const std::string folder = std::getenv("SCREENSHOT_FOLDER");
    const std::string suffix = std::string(std::getenv("QT_SCALE_FACTOR")) == "2" ? "@2x.png" : ".png";
    auto save = [&](QWidget* widget, const std::string& name) {
        EXPECT_TRUE(widget->grab().save(QString::fromStdString(folder + "/" + name + suffix), "PNG")) << name;
    };
    std::vector<std::string> alertNames;
    auto saveAlerts = [&](NSAlertPanel& panel) {
        if (!alertNames.empty()) {
            save(panel.dialog(), alertNames.front());
            alertNames.erase(alertNames.begin());
        }
    };

    // No generator yet: the apply cannot store anything.
    setenv("HOME", "/home/robin", 1);
    openPane();
    NSAlertTestDriver::whenShown(saveAlerts);
    alertNames = {"alert-not-saved"};
    apply("Ok");
    nextCase();

    installGenerator(userLibrary(), PlistWithBody("<key>Skin Index</key><string>1</string>\n<key>BGColor</key><string>RGB(255,128,0)</string>\n"));
    openPane();
    NSAlertTestDriver::whenShown(saveAlerts);
    NSWindow* window = showInWindow("Orvella");
    save(window->widget(), "pane");

    alertNames = {"alert-logout"};
    apply("Logout");

    // Without /temp the copy of the uninstaller lands elsewhere and the hand-off fails.
    std::error_code ignored;
    fs::remove_all("/temp", ignored);
    alertNames = {"alert-uninstall", "alert-uninstall-failed"};
    NSAlertTestDriver::answerWith({"Yes", "Ok"});
    qobject_cast<QAbstractButton*>(pane_->butUninstall->widget())->click();
    fs::remove_all("/temp", ignored);
    EXPECT_TRUE(alertNames.empty());
}
