#include <AppKit/NSApplication.h>

#include <QApplication>
#include <QTimer>

#include <cstdlib>

#include <AppKit/AppKitApplication.h>

const NSString NSApplicationDidFinishLaunchingNotification = "NSApplicationDidFinishLaunchingNotification";

namespace {

struct DelegateClass {
    std::string name;
    std::function<NSApplicationDelegate*()> make;
};

DelegateClass& registeredDelegateClass()
{
    static DelegateClass delegateClass;
    return delegateClass;
}

} // namespace

void NSRegisterApplicationDelegateClass(const char* name, std::function<NSApplicationDelegate*()> make)
{
    registeredDelegateClass() = DelegateClass{name, std::move(make)};
}

NSApplication* NSApplication::sharedApplication()
{
    static NSApplication* application = [] {
        AppKitEnsureApplication();
        return new NSApplication; // lives as long as the process
    }();
    return application;
}

void NSApplication::run() { QApplication::exec(); }

void NSApplication::stop(id) { QApplication::exit(0); }

void NSApplication::terminate(id) { std::exit(0); }

int NSApplicationMain(int, const char*[])
{
    NSApplication* application = NSApplication::sharedApplication();
    NSBundle* bundle = NSBundle::mainBundle();

    NSApplicationDelegate* delegate = nullptr;
    if (registeredDelegateClass().make)
        delegate = registeredDelegateClass().make();

    const NSString mainNib = bundle != nil ? bundle->objectForInfoDictionaryKey("NSMainNibFile") : NSString();
    if (mainNib.length() > 0) {
        struct NoOutlets : NSNibOwner {
            void nibConnections(NSNibConnections&) override {}
        } withoutDelegate;
        NSNibOwner* owner = delegate != nullptr ? static_cast<NSNibOwner*>(delegate) : &withoutDelegate;
        NSString error;
        if (NSNib::instantiateNibNamed(mainNib, bundle, owner, &error) == nil) {
            NSLog("Unable to load nib file: %@, exiting (%@)", mainNib, error);
            return 1;
        }
        if (error.length() > 0)
            NSLog("%@", error);
    }

    application->setDelegate(delegate);
    if (delegate != nullptr) {
        QTimer::singleShot(0, [delegate] {
            static NSString notification = NSApplicationDidFinishLaunchingNotification;
            delegate->applicationDidFinishLaunching(&notification);
        });
    }
    application->run();
    return 0;
}
