#include "PaneTestSupport.h"

#include "OrvellaSettings.h"

#include "NSAlertTestDriver.h"
#include <AppKit/AppKitApplication.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QWidget>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

bool InsidePrivateRoot() { return std::getenv("ORVELLA_PRIVATE_ROOT") != nullptr; }

namespace {
// The pane may end the process ("Later"); inside a test that is a failure, not a quiet success.
bool testRunning = false;
void refuseExitDuringATest()
{
    if (testRunning) {
        std::fprintf(stderr, "the process was ended during a test\n");
        std::_Exit(1);
    }
}
}  // namespace

void PaneTest::SetUp()
{
    if (!InsidePrivateRoot() && geteuid() == 0)
        GTEST_SKIP() << "runs inside the private root (PrivateRootTests)";
    if (!InsidePrivateRoot() && fs::exists("/Library/QuickLook/Foliotta.qlgenerator"))
        GTEST_SKIP() << "this machine's /Library holds the generator, which every case would find";
    static const bool guardInstalled = std::atexit(refuseExitDuringATest) == 0;
    (void)guardInstalled;
    testRunning = true;
    AppKitEnsureApplication();
    home_ = std::make_unique<TemporaryFolder>("orvella-home");
    tools_ = std::make_unique<TemporaryFolder>("orvella-tools");
    setenv("HOME", home_->path().c_str(), 1);
    std::error_code ignored;
    if (InsidePrivateRoot())
        fs::remove_all("/Library", ignored);

    // A log-out request never reaches this machine's logind: the system bus is one that is not
    // there, unless a case starts a stand-in logind.
    setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + tools_->path() + "/no-system-bus").c_str(), 1);
    setenv("XDG_SESSION_ID", "c7", 1);

    filePath.reset();
    plistDict.reset();
    NSAlertTestDriver::reset();
}

void PaneTest::TearDown()
{
    testRunning = false;
    logind_.reset();
    if (window_) {
        pane_->mainView()->widget()->setParent(nullptr);
        delete window_->widget();
        window_ = nullptr;
    }
    if (pane_) {
        delete pane_->mainView()->widget();
        delete pane_;
        pane_ = nullptr;
    }
    std::error_code ignored;
    if (InsidePrivateRoot())
        fs::remove_all("/Library", ignored);
}

std::string PaneTest::installGenerator(const std::string& libraryRoot, const std::string& skinPlist)
{
    const fs::path resources = fs::path(libraryRoot) / "QuickLook/Foliotta.qlgenerator/Contents/Resources";
    fs::create_directories(resources);
    const std::string settings = (resources / "skin.plist").string();
    if (!skinPlist.empty()) {
        std::ofstream(settings, std::ios::binary) << skinPlist;
    }
    return settings;
}

Orvella_PrefsPref* PaneTest::openPane()
{
    static NSBundle* paneBundle = [] {
        NSBundle* bundle = NSBundle::bundleWithPath(std::getenv("ORVELLA_PANE_BUNDLE"));
        EXPECT_TRUE(bundle && bundle->load()) << (bundle ? bundle->loadError().UTF8String() : "no pane bundle");
        return bundle;
    }();
    Class paneClass = NSClassFromString("Orvella_PrefsPref");
    EXPECT_NE(paneClass, nil);
    if (!paneClass)
        return nullptr;
    pane_ = dynamic_cast<Orvella_PrefsPref*>(paneClass->alloc());
    pane_->initWithBundle(paneBundle);
    EXPECT_NE(pane_->loadMainView(), nil);
    EXPECT_EQ(pane_->loadError().utf8(), "") << "every outlet and action is connected";
    return pane_;
}

void PaneTest::pickSkin(int listIndex)
{
    auto* combo = qobject_cast<QComboBox*>(pane_->comboSkin->widget());
    combo->setCurrentIndex(listIndex);
    emit combo->activated(listIndex);
}

void PaneTest::pickBackgroundRow(int row)
{
    auto cells = pane_->radioButton->widget()->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    cells.at(row)->click();
}

void PaneTest::apply(const std::string& alertAnswer)
{
    NSAlertTestDriver::answerWith({alertAnswer});
    qobject_cast<QAbstractButton*>(pane_->buttonImage->widget())->click();
}

NSWindow* PaneTest::showInWindow(const NSString& title)
{
    window_ = new NSWindow();
    if (title.length() > 0)
        window_->setTitle(title);
    window_->setContentView(pane_->mainView());
    window_->makeKeyAndOrderFront(nil);
    QApplication::processEvents();
    return window_;
}

void PaneTest::watchLogind()
{
    logind_ = std::make_unique<StandInLogind>();
    ASSERT_TRUE(logind_->running());
    logind_->knows(R"({"sessions": ["c7"]})");
}

std::string PaneTest::logindCalls() const { return logind_ ? logind_->calls() : "<no stand-in logind>"; }

std::string ThisProgram() { return fs::read_symlink("/proc/self/exe").string(); }

std::string PlistWithBody(const std::string& dictBody)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n<dict>\n" +
           dictBody + "</dict>\n</plist>\n";
}

std::string StoredString(const std::string& plistFile, const char* key)
{
    auto dictionary = NSMutableDictionary::dictionaryWithContentsOfFile(NSString(plistFile));
    if (!dictionary)
        return "<unreadable>";
    id value = dictionary->objectForKey(key);
    if (!value)
        return "<missing>";
    auto text = dynamic_cast<const NSString*>(value);
    return text ? text->utf8() : "<not a string: " + value->description() + ">";
}
