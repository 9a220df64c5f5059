// skin.plist as the pane finds, reads and rewrites it: install roots, value forms,
// and what an apply keeps or refuses to claim.
#include "PaneTestSupport.h"

#include "OrvellaSettings.h"

#include "NSAlertTestDriver.h"

#include <QWidget>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const std::string orangeSettings = PlistWithBody("<key>Skin Index</key><string>1</string>\n<key>BGColor</key><string>RGB(255,128,0)</string>\n");

}  // namespace

using InstallLookup = PaneTest;

TEST_F(InstallLookup, TheUsersCopyWinsOverTheSystemsAndOnlyTheCopyFoundIsWritten)
{
    SKIP_UNLESS_LIBRARY_IS_PRIVATE();
    for (bool userCopy : {true, false}) {
        SCOPED_TRACE(userCopy ? "both copies" : "the system's copy only");
        const std::string user = userCopy ? installGenerator(userLibrary(), orangeSettings) : "";
        const std::string system = installGenerator("/Library", orangeSettings);
        const std::string found = userCopy ? user : system;
        openPane();
        EXPECT_EQ(filePath->utf8(), fs::path(found).parent_path().string());
        pickSkin(0);
        apply("Logout");
        EXPECT_EQ(StoredString(found, "Skin Index"), "-1");
        if (userCopy) {
            EXPECT_EQ(StoredString(system, "Skin Index"), "1") << "the system copy is left alone";
        }
        nextCase();
    }
}

TEST_F(InstallLookup, OnlyTheBundleIsLookedFor)
{
    SKIP_UNLESS_LIBRARY_IS_PRIVATE();
    installGenerator(userLibrary(), "");  // a bundle without skin.plist
    installGenerator("/Library", orangeSettings);
    openPane();
    EXPECT_EQ(filePath->utf8(), home_->path() + "/Library/QuickLook/Foliotta.qlgenerator/Contents/Resources");
    EXPECT_EQ(plistDict, nullptr);
}

TEST_F(InstallLookup, AnEarlierFindingStaysWhenTheBundleGoes)
{
    const std::string user = installGenerator(userLibrary(), orangeSettings);
    openPane();
    fs::remove_all(userLibrary());
    OrvellaLookUpInstall();
    ASSERT_TRUE(filePath.has_value());
    EXPECT_EQ(filePath->utf8(), fs::path(user).parent_path().string());
}

using SettingsFile = PaneTest;

TEST_F(SettingsFile, SkinIndexStoredAsNumberReadsTheSameAndIsWrittenAsText)
{
    const std::string settings = installGenerator(userLibrary(), PlistWithBody("<key>Skin Index</key><integer>2</integer>\n"));
    openPane();
    EXPECT_EQ(pane_->comboSkin->indexOfSelectedItem(), 3);
    apply("Logout");
    EXPECT_EQ(StoredString(settings, "Skin Index"), "2");
}

TEST_F(SettingsFile, OtherKeysSurviveAnApply)
{
    const std::string settings = installGenerator(
        userLibrary(), PlistWithBody("<key>Skin Index</key><string>0</string>\n<key>BGColor</key><string>none</string>\n"
                                     "<key>Zoom</key><real>1.5</real>\n<key>Pages</key><array><integer>1</integer><integer>4</integer></array>\n"
                                     "<key>Owner</key><dict><key>Name</key><string>Ada</string></dict>\n"
                                     "<key>Stamp</key><data>AAEC</data>\n<key>Shown</key><true/>\n"));
    openPane();
    apply("Logout");
    const std::string written = ReadWholeFile(settings);
    for (const char* kept : {"<key>Zoom</key>", "<real>1.5", "<key>Pages</key>", "<integer>4</integer>", "<string>Ada</string>",
                             "AAEC", "<key>Shown</key>"})
        EXPECT_NE(written.find(kept), std::string::npos) << kept << " in\n" << written;
}

TEST_F(SettingsFile, AFileDeletedAfterTheViewLoadedIsWrittenAnew)
{
    const std::string settings = installGenerator(userLibrary(), orangeSettings);
    openPane();
    fs::remove(settings);
    apply("Logout");
    EXPECT_EQ(StoredString(settings, "BGColor"), "RGB(255,128,0)");
    EXPECT_EQ(NSAlertTestDriver::recordedAlerts().back().messageText, "Attention!");
}

TEST_F(SettingsFile, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    SKIP_UNLESS_LIBRARY_IS_PRIVATE();
    const std::string settings = installGenerator("/Library", orangeSettings);
    const std::string resources = fs::path(settings).parent_path().string();
    // A read-only folder, as /Library is for most users (root ignores permissions, so remount).
    ASSERT_EQ(std::system(("mount -t tmpfs orvella-ro '" + resources + "'").c_str()), 0);
    std::ofstream(settings) << orangeSettings;
    ASSERT_EQ(std::system(("mount -o remount,ro '" + resources + "'").c_str()), 0);

    openPane();
    pickSkin(0);
    pickBackgroundRow(0);
    apply("Ok");

    EXPECT_EQ(ReadWholeFile(settings), orangeSettings);
    EXPECT_EQ(fs::directory_entry(resources).exists() ? std::distance(fs::directory_iterator(resources), fs::directory_iterator()) : -1, 1)
        << "no temporary file is left behind";
    ASSERT_EQ(NSAlertTestDriver::recordedAlerts().size(), 1u) << "no logout prompt";
    const NSAlertRecord& alert = NSAlertTestDriver::recordedAlerts()[0];
    EXPECT_EQ(alert.messageText, "Settings Not Saved!");
    EXPECT_NE(alert.informativeText.find(systemSettingsFile()), std::string::npos) << alert.informativeText;
    EXPECT_EQ(alert.buttonTitles, std::vector<std::string>{"Ok"});
    EXPECT_EQ(pane_->comboSkin->indexOfSelectedItem(), 0) << "the pane stays as it is";
    std::system(("umount '" + resources + "'").c_str());
}

// On a disk with no room left, the new settings do not fit: the old file must stay as it was, not
// be cut short by a write in place. The old file ends a few bytes short of its last page, and the
// new colour's text is longer, so a write in place would need one page more than it frees.
TEST_F(SettingsFile, AFullDiskKeepsTheOldFileWhole)
{
    SKIP_UNLESS_LIBRARY_IS_PRIVATE();
    const std::string padding(100, 'x');
    const std::string settings = installGenerator(
        "/Library", PlistWithBody("<key>Skin Index</key><string>0</string>\n<key>BGColor</key><string>none</string>\n"
                                  "<key>Padding</key><string>" + padding + "</string>\n"));
    const std::string resources = fs::path(settings).parent_path().string();
    const std::string initial = ReadWholeFile(settings);
    ASSERT_EQ(std::system(("mount -t tmpfs -o size=64k orvella-small '" + resources + "'").c_str()), 0);
    std::ofstream(settings) << initial;

    // The file as the pane writes it, then padded to end three bytes short of its page.
    openPane();
    apply("Logout");
    delete pane_->mainView()->widget();
    delete pane_;
    pane_ = nullptr;
    std::string before = ReadWholeFile(settings);
    const size_t pageSize = 4096;
    before.replace(before.find(padding), padding.size(), padding + std::string(pageSize - 3 - before.size() % pageSize, 'x'));
    std::ofstream(settings) << before;
    ASSERT_EQ(before.size() % pageSize, pageSize - 3);

    openPane();
    {
        std::ofstream filler(resources + "/filler");
        const std::string block(pageSize, 'f');
        while (filler.write(block.data(), block.size()).flush()) {
        }
    }
    pickBackgroundRow(1);  // "RGB(0,0,0)" in place of "none"
    NSAlertTestDriver::reset();
    apply("Ok");

    EXPECT_EQ(ReadWholeFile(settings), before);
    ASSERT_FALSE(NSAlertTestDriver::recordedAlerts().empty());
    EXPECT_EQ(NSAlertTestDriver::recordedAlerts()[0].messageText, "Settings Not Saved!");
    std::system(("umount '" + resources + "'").c_str());
}

TEST_F(SettingsFile, WithoutAGeneratorNothingIsWrittenAndNoLogoutIsAsked)
{
    watchLogind();
    openPane();
    EXPECT_FALSE(filePath.has_value());
    apply("Ok");
    EXPECT_FALSE(fs::exists(userSettingsFile()));
    EXPECT_FALSE(fs::exists(systemSettingsFile()));
    ASSERT_EQ(NSAlertTestDriver::recordedAlerts().size(), 1u);
    EXPECT_EQ(NSAlertTestDriver::recordedAlerts()[0].messageText, "Settings Not Saved!");
    EXPECT_NE(NSAlertTestDriver::recordedAlerts()[0].informativeText.find(userSettingsFile()), std::string::npos);
    EXPECT_EQ(logindCalls(), "");
}

TEST_F(SettingsFile, AnUnreadableFileIsNotCreatedOrReplacedByAnApply)
{
    const std::string settings = installGenerator(userLibrary(), "this is not a property list");
    openPane();
    apply("Ok");
    EXPECT_EQ(ReadWholeFile(settings), "this is not a property list");
    EXPECT_EQ(NSAlertTestDriver::recordedAlerts().at(0).messageText, "Settings Not Saved!");
}
