#include <Foundation/Foundation.h>

#include "TemporaryFolder.h"

#include <BinaryPropertyList.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
const char* const sampleXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
    "<key>Skin Index</key><string>2</string>\n<key>Count</key><integer>-3</integer>\n<key>Scale</key><real>0.25</real>\n"
    "<key>On</key><true/>\n<key>List</key><array><string>a</string></array>\n<key>Blob</key><data>AAEC</data>\n"
    "</dict>\n</plist>\n";
}  // namespace

TEST(PropertyListDictionary, ReadsXmlAndBinaryAlike)
{
    TemporaryFolder folder;
    for (const std::string& contents : {std::string(sampleXml), BinaryPropertyList(sampleXml)}) {
        auto dictionary = NSMutableDictionary::dictionaryWithContentsOfFile(folder.WriteFile("s.plist", contents));
        ASSERT_NE(dictionary, nullptr);
        EXPECT_EQ(dictionary->count(), 6u);
        EXPECT_EQ(dictionary->objectForKey("Skin Index")->intValue(), 2);
        EXPECT_EQ(dictionary->objectForKey("Count")->intValue(), -3);
        EXPECT_FLOAT_EQ(dictionary->objectForKey("Scale")->floatValue(), 0.25f);
        EXPECT_EQ(dictionary->objectForKey("List")->intValue(), 0) << "values without a number read as 0";
        EXPECT_EQ(dictionary->objectForKey("Missing"), nil);
    }
}

TEST(PropertyListDictionary, AnythingButADictionaryFileReadsAsNil)
{
    TemporaryFolder folder;
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile(folder.path() + "/absent.plist"), nullptr);
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile(folder.WriteFile("empty", "")), nullptr);
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile(folder.WriteFile("text", "hello")), nullptr);
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile(folder.WriteFile("cut", std::string(sampleXml).substr(0, 90))), nullptr);
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile(
                  folder.WriteFile("array", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>")),
              nullptr);
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile(folder.path()), nullptr) << "a folder";
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile(""), nullptr);

    // Neither may keep the reader waiting; a hang ends the test program.
    const std::string pipe = folder.path() + "/pipe.plist";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    alarm(20);
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile(pipe), nullptr) << "a pipe without a writer";
    EXPECT_EQ(NSMutableDictionary::dictionaryWithContentsOfFile("/dev/zero"), nullptr) << "a device";
    alarm(0);
}

TEST(PropertyListDictionary, WritingGoesThroughLinksAndKeepsTheOwnerAndGroup)
{
    const struct {
        const char* name;
        const char* link;         // what the settings path links to, "" for no link
        const char* secondLink;   // a further link in the chain, "" for none
    } cases[] = {
        {"plain file", "", ""},
        {"relative link", "real/settings.plist", ""},
        {"chain of links", "middle.plist", "real/settings.plist"},
    };
    const uid_t owner = geteuid() == 0 ? 65534 : geteuid();
    const gid_t group = geteuid() == 0 ? 65534 : getegid();
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        TemporaryFolder folder;
        const std::string settings = folder.path() + "/skin.plist";
        const std::string target = *each.link ? folder.WriteFile("real/settings.plist", sampleXml) : folder.WriteFile("skin.plist", sampleXml);
        if (*each.secondLink) {
            fs::create_symlink(each.secondLink, folder.path() + "/" + each.link);
            fs::create_symlink(each.link, settings);
        } else if (*each.link) {
            fs::create_symlink(each.link, settings);
        }
        ASSERT_EQ(chown(target.c_str(), owner, group), 0);

        auto dictionary = NSMutableDictionary::dictionaryWithContentsOfFile(settings);
        ASSERT_NE(dictionary, nullptr);
        dictionary->setObject("0", "Skin Index");
        ASSERT_TRUE(dictionary->writeToFile(settings, YES));

        EXPECT_EQ(fs::is_symlink(settings), *each.link != '\0');
        auto reread = NSMutableDictionary::dictionaryWithContentsOfFile(target);
        ASSERT_NE(reread, nullptr);
        EXPECT_EQ(reread->objectForKey("Skin Index")->description(), "0");
        struct stat written = {};
        ASSERT_EQ(stat(target.c_str(), &written), 0);
        EXPECT_EQ(written.st_uid, owner);
        EXPECT_EQ(written.st_gid, group);
        EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(target).parent_path()), fs::directory_iterator()),
                  1)
            << "no temporary file left";
    }
}

TEST(PropertyListDictionary, SettingReplacesOneKeyAndKeepsEveryOtherValueExactly)
{
    TemporaryFolder folder;
    const std::string path = folder.WriteFile("s.plist", BinaryPropertyList(sampleXml));
    auto dictionary = NSMutableDictionary::dictionaryWithContentsOfFile(path);
    ASSERT_NE(dictionary, nullptr);
    id before = dictionary->objectForKey("Skin Index");
    dictionary->setValue(before, "Copy");  // an object handed out by the dictionary itself
    dictionary->setObject("-1", "Skin Index");
    ASSERT_TRUE(dictionary->writeToFile(path, YES));

    const std::string written = ReadWholeFile(path);
    EXPECT_EQ(written.rfind("<?xml", 0), 0u) << "always written as XML";
    auto reread = NSMutableDictionary::dictionaryWithContentsOfFile(path);
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->objectForKey("Skin Index")->description(), "-1");
    EXPECT_EQ(reread->objectForKey("Copy")->description(), "2");
    for (const char* kept : {"<integer>-3</integer>", "<real>0.25", "<true/>", "<string>a</string>", "AAEC"})
        EXPECT_NE(written.find(kept), std::string::npos) << kept << "\n" << written;
    dictionary->setValue(nil, "Copy");
    EXPECT_EQ(dictionary->objectForKey("Copy"), nil);
}

TEST(PropertyListDictionary, AFailedAtomicWriteLeavesTheOldFileAndNoTemporaryFile)
{
    TemporaryFolder folder;
    const std::string path = folder.WriteFile("settings/s.plist", sampleXml);
    auto dictionary = NSMutableDictionary::dictionaryWithContentsOfFile(path);
    ASSERT_NE(dictionary, nullptr);
    dictionary->setObject("changed", "Skin Index");

    EXPECT_FALSE(dictionary->writeToFile(folder.path() + "/missing-folder/s.plist", YES));
    EXPECT_FALSE(dictionary->writeToFile(folder.path() + "/settings", YES)) << "a folder cannot be replaced by a file";
    EXPECT_FALSE(dictionary->writeToFile("", YES));
    EXPECT_EQ(ReadWholeFile(path), sampleXml);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() + "/settings"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(PropertyListDictionary, WritingKeepsTheFilesPermissionsAndMakesNewFilesByTheUmask)
{
    TemporaryFolder folder;
    const std::string path = folder.WriteFile("s.plist", sampleXml);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    auto dictionary = NSMutableDictionary::dictionaryWithContentsOfFile(path);
    ASSERT_TRUE(dictionary->writeToFile(path, YES));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);

    const mode_t previous = umask(022);
    ASSERT_TRUE(dictionary->writeToFile(folder.path() + "/new.plist", YES));
    ASSERT_TRUE(dictionary->writeToFile(folder.path() + "/plain.plist", NO));
    umask(previous);
    const auto readable = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
    EXPECT_EQ(fs::status(folder.path() + "/new.plist").permissions(), readable);
    EXPECT_EQ(fs::status(folder.path() + "/plain.plist").permissions(), readable);
}

TEST(PropertyListDictionary, NumbersOutsideTheIntegerRangeReadClamped)
{
    TemporaryFolder folder;
    auto dictionary = NSMutableDictionary::dictionaryWithContentsOfFile(folder.WriteFile(
        "n.plist", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Big</key><real>1e300</real>"
                   "<key>Small</key><real>-1e300</real><key>Huge</key><integer>9000000000</integer></dict></plist>"));
    ASSERT_NE(dictionary, nullptr);
    EXPECT_EQ(dictionary->objectForKey("Big")->intValue(), INT_MAX);
    EXPECT_EQ(dictionary->objectForKey("Small")->intValue(), INT_MIN);
    EXPECT_EQ(dictionary->objectForKey("Huge")->intValue(), INT_MAX);
}
