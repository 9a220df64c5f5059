// NSApplicationMain and NSWorkspace as the uninstaller and the pane use them, through programs
// of their own.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <ChildProcess.h>
#include <TemporaryFolder.h>

namespace fs = std::filesystem;

namespace {

const char* const kInfoPlist = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
<key>CFBundleExecutable</key><string>%EXECUTABLE%</string>
<key>CFBundleIdentifier</key><string>com.example.probe</string>
%EXTRA%</dict></plist>
)";

const char* const kMainInterface = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0"><widget class="QWidget" name="window">
<property name="windowTitle"><string>Probe Window</string></property>
</widget></ui>
)";

class ScratchFolder : public ::testing::Test {
protected:
    // An application bundle NAME.app whose Info.plist names the executable and carries extra keys.
    fs::path makeBundle(const std::string& name, const std::string& executable, const std::string& extraKeys)
    {
        const fs::path bundle = scratch / (name + ".app");
        fs::create_directories(bundle / "Contents/MacOS");
        fs::create_directories(bundle / "Contents/Resources");
        std::string plist = kInfoPlist;
        plist.replace(plist.find("%EXECUTABLE%"), 12, executable);
        plist.replace(plist.find("%EXTRA%"), 7, extraKeys);
        std::ofstream(bundle / "Contents/Info.plist") << plist;
        return bundle;
    }

    std::map<std::string, std::string> environment() const
    {
        auto variables = InheritedDiagnostics();
        variables["PATH"] = (scratch / "bin").string() + ":/usr/bin:/bin";
        variables["QT_QPA_PLATFORM"] = "offscreen";
        variables["MARKER_DIR"] = scratch.string();
        return variables;
    }

    static bool eventually(const std::function<bool()>& condition)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    TemporaryFolder folder{"application services"};
    fs::path scratch = folder.path();
};

using ApplicationMain = ScratchFolder;
using Workspace = ScratchFolder;

} // namespace

TEST_F(ApplicationMain, makesTheDelegateConnectsItsWindowAndSendsTheLaunchNotification)
{
    const fs::path bundle = makeBundle("Probe", "application-probe", "<key>NSMainNibFile</key><string>MainMenu</string>\n");
    fs::copy_file(APPLICATION_PROBE, bundle / "Contents/MacOS/application-probe");
    std::ofstream(bundle / "Contents/Resources/MainMenu.ui") << kMainInterface;

    const ChildResult result =
        RunChildInEnvironment({(bundle / "Contents/MacOS/application-probe").string()}, environment());

    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.standardOutput, "launched NSApplicationDidFinishLaunchingNotification\nwindow Probe Window\ndelegate set\n")
        << result.standardError;
}

TEST_F(ApplicationMain, aMissingMainInterfaceFileEndsTheProgramWithAMessage)
{
    const fs::path bundle = makeBundle("Broken", "application-probe", "<key>NSMainNibFile</key><string>Gone</string>\n");
    fs::copy_file(APPLICATION_PROBE, bundle / "Contents/MacOS/application-probe");

    const ChildResult result =
        RunChildInEnvironment({(bundle / "Contents/MacOS/application-probe").string()}, environment());

    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.standardOutput, "");
    EXPECT_NE(result.standardError.find("Unable to load nib file: Gone, exiting"), std::string::npos) << result.standardError;
}

// The application goes on only once the caller has returned and the test says so; a caller that
// waited for it would find it finished (it gives up waiting after ten seconds).
TEST_F(Workspace, startsAnApplicationBundleThatOutlivesTheCaller)
{
    const fs::path bundle = makeBundle("Lasting Tool", "Lasting Tool", "");
    const fs::path program = bundle / "Contents/MacOS/Lasting Tool";
    std::ofstream(program) << "#!/bin/sh\n"
                              "for i in $(seq 200); do [ -e \"$MARKER_DIR/go\" ] && break; sleep 0.05; done\n"
                              "echo \"$PPID\" > \"$MARKER_DIR/still running\"\n";
    fs::permissions(program, fs::perms::owner_all);

    const ChildResult result = RunChildInEnvironment({OPEN_FILE_PROBE, bundle.string()}, environment());

    EXPECT_EQ(result.standardOutput, "YES\n") << result.standardError;
    EXPECT_FALSE(fs::exists(scratch / "still running")) << "the caller waited for the application";
    std::ofstream(scratch / "go").close();
    EXPECT_TRUE(eventually([&] { return fs::exists(scratch / "still running"); }));
}

TEST_F(Workspace, handsOtherFilesToXdgOpenAndRefusesWhatCannotBeOpened)
{
    fs::create_directory(scratch / "bin");
    std::ofstream(scratch / "bin/xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$MARKER_DIR/opened\"\n";
    fs::permissions(scratch / "bin/xdg-open", fs::perms::owner_all);
    const fs::path document = scratch / "read me.txt";
    std::ofstream(document) << "text";
    const fs::path noProgram = makeBundle("Empty", "Missing", "");

    const ChildResult result = RunChildInEnvironment({OPEN_FILE_PROBE, document.string(), (scratch / "absent.txt").string(),
                                         noProgram.string()},
                                        environment());

    EXPECT_EQ(result.standardOutput, "YES\nNO\nNO\n") << result.standardError;
    EXPECT_TRUE(eventually([&] { return ReadWholeFile((scratch / "opened").string()) == document.string() + "\n"; }));
}
