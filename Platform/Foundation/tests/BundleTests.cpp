#include <Foundation/Foundation.h>

#include "TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {
std::string infoPlist(const std::string& identifier, const std::string& executable)
{
    return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>" + identifier +
           "</string><key>CFBundleExecutable</key><string>" + executable + "</string></dict></plist>";
}
}  // namespace

TEST(Bundles, AreFoundByIdentifierOnlyOnceLoaded)
{
    TemporaryFolder folder;
    folder.WriteFile("One.bundle/Contents/Info.plist", infoPlist("com.example.one", "One"));
    folder.WriteFile("One.bundle/Contents/Resources/Blue.png", "png");
    NSBundle* bundle = NSBundle::bundleWithPath(folder.path() + "/One.bundle");
    ASSERT_NE(bundle, nil);
    EXPECT_EQ(NSBundle::bundleWithPath(folder.path() + "/One.bundle"), bundle) << "one object per path";
    EXPECT_EQ(bundle->bundleIdentifier().utf8(), "com.example.one");
    EXPECT_EQ(bundle->resourcePath().utf8(), folder.path() + "/One.bundle/Contents/Resources");
    EXPECT_EQ(bundle->pathForResource("Blue", "png").utf8(), folder.path() + "/One.bundle/Contents/Resources/Blue.png");
    EXPECT_EQ(bundle->pathForResource("Red", "png").utf8(), "");
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.example.one"), nil);

    NSBundle::registerLoadedBundle(bundle);
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.example.one"), bundle);
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.example.other"), nil);
}

TEST(Bundles, CodeThatCannotBeLoadedIsReported)
{
    TemporaryFolder folder;
    folder.WriteFile("Two.bundle/Contents/Info.plist", infoPlist("com.example.two", "Two"));
    folder.WriteFile("Two.bundle/Contents/MacOS/Two", "not a shared library");
    NSBundle* bundle = NSBundle::bundleWithPath(folder.path() + "/Two.bundle");
    ASSERT_NE(bundle, nil);
    EXPECT_FALSE(bundle->load());
    EXPECT_NE(bundle->loadError().utf8(), "");
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.example.two"), nil);
    EXPECT_EQ(NSBundle::bundleWithPath(folder.path() + "/Absent.bundle"), nil);
}

TEST(FileManager, AnythingAtThePathExists)
{
    TemporaryFolder folder;
    NSFileManager* files = NSFileManager::defaultManager();
    EXPECT_TRUE(files->fileExistsAtPath(folder.path()));
    EXPECT_TRUE(files->fileExistsAtPath(folder.WriteFile("a file", "x")));
    EXPECT_FALSE(files->fileExistsAtPath(folder.path() + "/nothing"));
    EXPECT_FALSE(files->fileExistsAtPath(""));
    BOOL isDirectory = NO;
    EXPECT_TRUE(files->fileExistsAtPath(folder.path(), &isDirectory));
    EXPECT_TRUE(isDirectory);
}
