// The appearance controller with its real widgets: what the controls show after the view loads,
// what an apply stores, and how the logout prompt ends.
#include "PaneTestSupport.h"

#include "ChildProcess.h"
#include "OrvellaColorText.h"
#include "OrvellaSettings.h"

#include <AppKit/AppKitApplication.h>
#include "NSAlertTestDriver.h"

#include <QComboBox>
#include <QPixmap>
#include <QLabel>

#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace {
std::string withBackground(const std::string& bgColor)
{
    return PlistWithBody("<key>Skin Index</key><string>0</string>\n<key>BGColor</key><string>" + bgColor + "</string>\n");
}

int rounded255(CGFloat component) { return static_cast<int>(component * 255.0 + 0.5); }
}  // namespace

using ShownSettings = PaneTest;

// The list shows the stored skin index plus one (the first skin for an index outside the list),
// the first background row stands for "none" and turns the well off, and without settings the
// defaults show.
TEST_F(ShownSettings, TheControlsShowTheStoredSettings)
{
    const struct {
        const char* body;  // nullptr: no settings file
        NSInteger listIndex;
        NSInteger row;
    } cases[] = {
        {nullptr, 1, 1},
        {"<key>Skin Index</key><string>2</string>\n", 3, 1},
        {"<key>Skin Index</key><string>-2</string>\n", 0, 1},
        {"<key>Skin Index</key><string>3</string>\n", 0, 1},
        {"<key>Skin Index</key><string>99</string>\n", 0, 1},
        {"<key>Skin Index</key><string>-7</string>\n", 0, 1},
        {"<key>Skin Index</key><string>banana</string>\n", 1, 1},  // no number reads as 0
        {"<key>Skin Index</key><string>0</string>\n<key>BGColor</key><string>none</string>\n", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body ? c.body : "no settings");
        if (c.body)
            installGenerator(userLibrary(), PlistWithBody(c.body));
        openPane();
        EXPECT_EQ(pane_->comboSkin->indexOfSelectedItem(), c.listIndex);
        EXPECT_EQ(pane_->comboSkin->stringValue().utf8(), pane_->comboSkin->itemObjectValueAtIndex(c.listIndex).utf8());
        EXPECT_TRUE(pane_->imageWell->hasImage());
        EXPECT_EQ(pane_->radioButton->selectedRow(), c.row);
        EXPECT_EQ(pane_->radioButton->selectedTag(), c.row == 0 ? 1 : 0);
        EXPECT_EQ(pane_->myColor->isEnabled(), c.row == 1);
        if (c.row == 1) {
            EXPECT_EQ(OrvellaColorText(pane_->myColor->color()).utf8(), "RGB(0,0,0)");
        }
        nextCase();
    }
}

TEST_F(ShownSettings, ColourTextsReadAsCalibratedRgb)
{
    struct Case {
        const char* text;
        int red, green, blue;
    };
    const Case cases[] = {
        {"RGB(255,128,0)", 255, 128, 0},
        {"RGB(1,2,3,4)", 1, 2, 3},          // a fourth value is ignored
        {"RGB( 10, 20,30)", 10, 20, 30},    // leading blanks are skipped
        {"XYZ(7,8,9]", 7, 8, 9},            // the frame is dropped unexamined
        {"None", 0, 0, 0},                  // only exactly "none" means no colour
        {"RGB(255)", 255, 0, 0},            // missing parts read as 0
        {"abc", 0, 0, 0},                   // too short for any part
        {"", 0, 0, 0},
        {"RGB(red,green,blue)", 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        installGenerator(userLibrary(), withBackground(c.text));
        openPane();
        const NSColor& color = pane_->myColor->color();
        EXPECT_EQ(color.colorSpaceName(), NSCalibratedRGBColorSpace);
        EXPECT_EQ(rounded255(color.redComponent()), c.red);
        EXPECT_EQ(rounded255(color.greenComponent()), c.green);
        EXPECT_EQ(rounded255(color.blueComponent()), c.blue);
        EXPECT_EQ(color.alphaComponent(), 1.0);
        EXPECT_EQ(pane_->radioButton->selectedTag(), 0);
        EXPECT_TRUE(pane_->myColor->isEnabled());
        nextCase();
    }
}

// The settings open on the second skin; each skin picked in turn shows a picture of its own.
TEST_F(ShownSettings, PickingASkinShowsItsPictureWithoutStoringIt)
{
    const std::string settings = installGenerator(userLibrary(), withBackground("none"));
    openPane();
    auto* well = qobject_cast<QLabel*>(pane_->imageWell->widget());
    ASSERT_GE(pane_->comboSkin->numberOfItems(), 4);
    for (NSInteger index = 0; index < pane_->comboSkin->numberOfItems(); ++index) {
        SCOPED_TRACE(index);
        const QImage before = well->pixmap().toImage();
        pickSkin(static_cast<int>(index));
        EXPECT_TRUE(pane_->imageWell->hasImage());
        EXPECT_NE(well->pixmap().toImage(), before);
    }
    EXPECT_EQ(StoredString(settings, "Skin Index"), "0");
}

TEST_F(ShownSettings, TheRadioRowsSwitchTheWellAndKeepItsColour)
{
    installGenerator(userLibrary(), withBackground("RGB(10,20,30)"));
    openPane();
    pickBackgroundRow(0);
    EXPECT_FALSE(pane_->myColor->isEnabled());
    pickBackgroundRow(1);
    EXPECT_TRUE(pane_->myColor->isEnabled());
    EXPECT_EQ(OrvellaColorText(pane_->myColor->color()).utf8(), "RGB(10,20,30)");
}

using Apply = PaneTest;

// What an apply stores as the background: the colour as read, kept within 0 to 255 and rounded
// halves away from zero; colours of other kinds converted, or black; "none" for the first row.
TEST_F(Apply, StoresTheBackgroundAsText)
{
    const struct {
        const char* shown;  // the background the pane opens with
        std::optional<NSColor> picked;  // then put in the well
        const char* stored;
        bool firstRow = false;
    } cases[] = {
        {"RGB(255,128,0)", {}, "RGB(255,128,0)"},
        {"RGB(0,0,0)", {}, "RGB(0,0,0)"},
        {"RGB(255,255,255)", {}, "RGB(255,255,255)"},
        {"RGB(1,254,127)", {}, "RGB(1,254,127)"},
        {"RGB(128,64,32)", {}, "RGB(128,64,32)"},
        {"RGB(1e300,-5,2.4)", {}, "RGB(255,0,2)"},
        {"RGB(9,9,9)", NSColor::colorWithCalibratedRed(0.5, 0.5 / 255.0, 1.5 / 255.0, 1.0), "RGB(128,1,2)"},
        {"RGB(9,9,9)", NSColor::colorWithCalibratedRed(1.5, -0.2, 0.5, 1), "RGB(255,0,128)"},
        {"RGB(9,9,9)", NSColor::colorWithCalibratedWhite(0.5, 1.0), "RGB(128,128,128)"},
        {"RGB(9,9,9)", NSColor::colorWithDeviceCyan(1, 0, 0, 0, 1), "RGB(0,255,255)"},
        {"RGB(9,9,9)", NSColor::colorWithDeviceRed(0, 1, 0, 1), "RGB(0,255,0)"},
        {"RGB(9,9,9)", NSColor::colorWithPatternImageNamed("Bricks"), "RGB(0,0,0)"},
        {"RGB(10,20,30)", {}, "none", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.shown) + " -> " + c.stored);
        const std::string settings = installGenerator(userLibrary(), withBackground(c.shown));
        openPane();
        if (c.picked)
            pane_->myColor->setColor(*c.picked);
        if (c.firstRow)
            pickBackgroundRow(0);
        apply("Logout");
        EXPECT_EQ(StoredString(settings, "BGColor"), c.stored);
        nextCase();
    }
}

TEST_F(Apply, NoSelectedSkinStoresMinusTwoWhichLaterShowsTheFirstSkin)
{
    const std::string settings = installGenerator(userLibrary(), withBackground("none"));
    openPane();
    pane_->comboSkin->selectItemAtIndex(-1);
    apply("Logout");
    EXPECT_EQ(StoredString(settings, "Skin Index"), "-2");
    TearDown();
    pane_ = nullptr;
    openPane();
    EXPECT_EQ(pane_->comboSkin->indexOfSelectedItem(), 0);
}

TEST_F(Apply, LogoutAsksLogindToEndTheSessionAndThePaneStaysAsItWas)
{
    watchLogind();
    const std::string settings = installGenerator(userLibrary(), withBackground("none"));
    openPane();
    pickSkin(3);
    apply("Logout");
    ASSERT_EQ(NSAlertTestDriver::recordedAlerts().size(), 1u);
    const NSAlertRecord& prompt = NSAlertTestDriver::recordedAlerts()[0];
    EXPECT_EQ(prompt.messageText, "Attention!");
    EXPECT_EQ(prompt.informativeText, "Please logout your system once to make the settings changed, that you have made.");
    EXPECT_EQ(prompt.buttonTitles, (std::vector<std::string>{"Logout", "Later"}));
    EXPECT_EQ(prompt.alertStyle, 0u);
    EXPECT_EQ(logindCalls(), "GetSession c7\nTerminate c7\n");
    EXPECT_EQ(pane_->comboSkin->indexOfSelectedItem(), 3);
    EXPECT_EQ(pane_->radioButton->selectedRow(), 0);
    EXPECT_EQ(StoredString(settings, "Skin Index"), "2");
}

TEST_F(Apply, LaterEndsTheHostingProcessWithStatusZeroAfterStoring)
{
    watchLogind();
    const std::string settings = installGenerator(userLibrary(), withBackground("RGB(1,2,3)"));
    const std::string log = home_->path() + "/alerts.log";
    ChildResult child = RunChild({ThisProgram(), "--gtest_filter=ChildFlow.ApplyOnce"},
                                 {{"ORVELLA_CHILD_FLOW", "1"}, {"NSALERT_ANSWERS", "Later"}, {"NSALERT_LOG", log}});
    EXPECT_EQ(child.exitStatus, 0) << child.standardOutput << child.standardError;
    EXPECT_EQ(child.standardOutput.find("still running after"), std::string::npos) << child.standardOutput;
    EXPECT_EQ(ReadWholeFile(log),
              "Attention!\tPlease logout your system once to make the settings changed, that you have made.\t0\tLogout|Later\tLater\n");
    EXPECT_EQ(StoredString(settings, "BGColor"), "RGB(1,2,3)");
    EXPECT_EQ(logindCalls(), "");
}

// Runs only as the child of the test above: opens the pane in the inherited home and applies.
TEST(ChildFlow, ApplyOnce)
{
    if (!std::getenv("ORVELLA_CHILD_FLOW"))
        GTEST_SKIP() << "runs as a child process";
    AppKitEnsureApplication();
    NSBundle* bundle = NSBundle::bundleWithPath(std::getenv("ORVELLA_PANE_BUNDLE"));
    ASSERT_TRUE(bundle && bundle->load());
    auto* pane = dynamic_cast<Orvella_PrefsPref*>(NSClassFromString("Orvella_PrefsPref")->alloc());
    pane->initWithBundle(bundle);
    ASSERT_NE(pane->loadMainView(), nil);
    pane->setSkin(nil);
    std::printf("still running after the logout prompt\n");
    delete pane->mainView()->widget();
    delete pane;
}
