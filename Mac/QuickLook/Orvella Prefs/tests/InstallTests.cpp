// The system install (`make install-system`, prefix /usr/local) inside the private root: both bundles land
// under /Library, complete, and the pane reads the generator's installed settings.
#include "PaneTestSupport.h"

#include "ChildProcess.h"

#include <filesystem>

namespace fs = std::filesystem;

using Installation = PaneTest;

TEST_F(Installation, SystemInstallPutsBothBundlesUnderLibrary)
{
    SKIP_UNLESS_LIBRARY_IS_PRIVATE();
    ChildResult install = RunChild({std::getenv("CMAKE_COMMAND"), "--install", std::getenv("BUILD_DIR"), "--prefix", "/usr/local"});
    ASSERT_EQ(install.exitStatus, 0) << install.standardOutput << install.standardError;

    const std::string generator = "/Library/QuickLook/Foliotta.qlgenerator/Contents";
    EXPECT_TRUE(fs::is_regular_file(generator + "/Info.plist"));
    EXPECT_EQ(StoredString(generator + "/Resources/skin.plist", "Skin Index"), "-1");
    EXPECT_EQ(StoredString(generator + "/Resources/skin.plist", "BGColor"), "none");

    const std::string pane = "/Library/PreferencePanes/Orvella.prefPane/Contents";
    EXPECT_EQ(StoredString(pane + "/Info.plist", "CFBundleIdentifier"), "com.brimwell.prefPane.Orvella");
    EXPECT_EQ(StoredString(pane + "/Info.plist", "NSPrincipalClass"), "Orvella_PrefsPref");
    for (const char* resource : {"Orvella_PrefsPref.ui", "Classic.png", "Graphite.png", "Ocean.png", "Paper.png"})
        EXPECT_TRUE(fs::is_regular_file(pane + "/Resources/" + resource)) << resource;
    const std::string code = pane + "/MacOS/" + StoredString(pane + "/Info.plist", "CFBundleExecutable");
    ChildResult libraries = RunChild({"ldd", code});
    EXPECT_EQ(libraries.exitStatus, 0);
    EXPECT_EQ(libraries.standardOutput.find("not found"), std::string::npos) << libraries.standardOutput;

    openPane();
    EXPECT_EQ(pane_->comboSkin->indexOfSelectedItem(), 0) << "the first skin, as installed";
    EXPECT_EQ(pane_->radioButton->selectedRow(), 0) << "no background colour, as installed";
}
