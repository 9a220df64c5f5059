// What the pane's tests share: a private home folder and /Library, generator bundles with a given
// skin.plist, the pane loaded from its built bundle, and a stand-in logind.
#pragma once

#include "StandInLogind.h"
#include "TemporaryFolder.h"

#include <Orvella_PrefsPref.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// True inside the private mount namespace that PrivateRootTests starts. Run as root, the suites
// run only there; run as anyone else, every case runs outside it except those that make a /Library,
// so nothing ever touches this machine's /Library.
bool InsidePrivateRoot();

// For the cases that make or change /Library.
#define SKIP_UNLESS_LIBRARY_IS_PRIVATE()                                                                         \
    if (!InsidePrivateRoot())                                                                                    \
    GTEST_SKIP() << "makes /Library, which only the private root may (PrivateRootTests, as root)"

class PaneTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Installs Foliotta.qlgenerator with this skin.plist under the root ("" for none) and returns
    // the settings file's path.
    std::string installGenerator(const std::string& libraryRoot, const std::string& skinPlist);
    std::string userLibrary() const { return home_->path() + "/Library"; }
    std::string userSettingsFile() const { return userLibrary() + "/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist"; }
    static std::string systemSettingsFile() { return "/Library/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist"; }

    // A new controller with its main view loaded (mainViewDidLoad has run).
    Orvella_PrefsPref* openPane();
    // The user's actions, through the widgets.
    void pickSkin(int listIndex);
    void pickBackgroundRow(int row);
    // Presses Apply; the alert it brings is answered by the button titled alertAnswer.
    void apply(const std::string& alertAnswer);
    // Shows the pane in a window of its own, as prefhost does; the window goes with the case.
    NSWindow* showInWindow(const NSString& title = "");
    // For a table of cases in one test: what the last case left is cleared away.
    void nextCase() { TearDown(); SetUp(); }

    // Starts a stand-in logind that knows session c7 (XDG_SESSION_ID); then what it was asked,
    // one call a line.
    void watchLogind();
    std::string logindCalls() const;

    std::unique_ptr<TemporaryFolder> home_;
    std::unique_ptr<TemporaryFolder> tools_;
    Orvella_PrefsPref* pane_ = nullptr;
    NSWindow* window_ = nullptr;
    std::unique_ptr<StandInLogind> logind_;
};

// This test program, for the cases that run some of its cases again as a child process.
std::string ThisProgram();
// A property list in XML with the given <dict> body.
std::string PlistWithBody(const std::string& dictBody);
// The string value of a key in a property-list file ("<missing>" when absent, "<unreadable>").
std::string StoredString(const std::string& plistFile, const char* key);
