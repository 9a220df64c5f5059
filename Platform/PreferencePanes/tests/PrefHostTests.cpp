// prefhost as a user runs it: it opens a pane bundle, drives the pane's hooks in order, ends when
// the window closes, and explains bundles it cannot open.
#include "ChildProcess.h"
#include "TemporaryFolder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace {
std::string env(const char* name) { return std::getenv(name) ? std::getenv(name) : ""; }
}  // namespace

TEST(PrefHost, DrivesThePaneAndEndsWhenItsWindowCloses)
{
    TemporaryFolder folder;
    const std::string log = folder.path() + "/probe.log";
    ChildResult host = RunChild({env("PREFHOST"), env("PROBE_BUNDLE")}, {{"PROBE_LOG", log}, {"PROBE_CLOSE", "1"}});
    EXPECT_EQ(host.exitStatus, 0) << host.standardError;
    EXPECT_EQ(ReadWholeFile(log), "mainViewDidLoad with button\nwillSelect\ndidSelect\npress:\nwillUnselect\ndidUnselect\n");
}

TEST(PrefHost, BundlesThatCannotBeOpenedAreExplained)
{
    TemporaryFolder folder;
    const std::string noInfo = folder.path() + "/NoInfo.prefPane";
    fs::create_directories(noInfo + "/Contents");
    folder.WriteFile("NoClass.prefPane/Contents/Info.plist",
                     "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>x.y</string>"
                     "<key>CFBundleExecutable</key><string>X</string></dict></plist>");
    folder.WriteFile("NoCode.prefPane/Contents/Info.plist",
                     "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>x.z</string>"
                     "<key>NSPrincipalClass</key><string>X</string><key>CFBundleExecutable</key><string>X</string></dict></plist>");
    struct Case {
        std::string path;
        const char* says;
    };
    const Case cases[] = {
        {folder.path() + "/Absent.prefPane", "no such bundle"},
        {noInfo, "CFBundleIdentifier"},
        {folder.path() + "/NoClass.prefPane", "NSPrincipalClass"},
        {folder.path() + "/NoCode.prefPane", "NoCode.prefPane"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ChildResult host = RunChild({env("PREFHOST"), c.path});
        EXPECT_EQ(host.exitStatus, 1);
        EXPECT_NE(host.standardError.find(c.says), std::string::npos) << host.standardError;
    }
    ChildResult usage = RunChild({env("PREFHOST")});
    EXPECT_EQ(usage.exitStatus, 2);
    EXPECT_NE(usage.standardError.find("usage"), std::string::npos);
}

TEST(PrefHost, FindsAnInstalledPaneByNameInTheUsersLibraryFirst)
{
    if (fs::exists("/Library/PreferencePanes/Probe.prefPane"))
        GTEST_SKIP() << "this machine has a Probe.prefPane in /Library";
    TemporaryFolder home("prefhost home with blanks");
    const std::string log = home.path() + "/probe.log";
    const std::map<std::string, std::optional<std::string>> environment{{"HOME", home.path()}, {"PROBE_LOG", log}, {"PROBE_CLOSE", "1"}};

    ChildResult none = RunChild({env("PREFHOST"), "--installed", "Probe.prefPane"}, environment);
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_NE(none.standardError.find("no Probe.prefPane in " + home.path() + "/Library/PreferencePanes or /Library/PreferencePanes"),
              std::string::npos) << none.standardError;
    EXPECT_EQ(RunChild({env("PREFHOST"), "--installed", "../Probe.prefPane"}, environment).exitStatus, 1) << "names only";

    fs::create_directories(home.path() + "/Library/PreferencePanes");
    fs::copy(env("PROBE_BUNDLE"), home.path() + "/Library/PreferencePanes/Probe.prefPane", fs::copy_options::recursive);
    ChildResult user = RunChild({env("PREFHOST"), "--installed", "Probe.prefPane"}, environment);
    EXPECT_EQ(user.exitStatus, 0) << user.standardError;
    EXPECT_EQ(ReadWholeFile(log).substr(0, 15), "mainViewDidLoad");
}

TEST(PrefHost, ShowsTheInstalledPaneOnARealDisplay)
{
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs xvfb-run (Debian xvfb)";
    const std::string screenshot = env("SCREENSHOT");
    fs::remove(screenshot);
    ChildResult run = RunChild({env("SCREENSHOT_SCRIPT"), env("CMAKE_COMMAND"), env("BUILD_DIR"), env("GRAB_SCREEN"), screenshot});
    ASSERT_EQ(run.exitStatus, 0) << run.standardOutput << run.standardError;

    QImage shot(QString::fromStdString(screenshot));
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QSize(668, 420));
    // The pane fills the screen: many colours (the skin picture), not an empty X background.
    std::set<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3)
            colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 50u);
}
