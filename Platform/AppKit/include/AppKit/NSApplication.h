// The application object, its delegate and NSApplicationMain.
//
// The program's delegate class registers itself at link time:
//   static NSApplicationDelegateRegistration<MyDelegate> registration("MyDelegate");
// NSApplicationMain makes it, loads the main interface file named by the bundle's Info.plist
// (NSMainNibFile) with the delegate as its owner, so that the delegate's outlets are connected,
// and sends it the launch notification from the running event loop.
#pragma once

#include <Foundation/Foundation.h>

#include "NSNib.h"

// What an application delegate hears of the application's life. The delegate owns the main
// interface file: its nibConnections name its outlets.
class NSApplicationDelegate : public NSNibOwner {
public:
    // The notification object is the notification's name.
    virtual void applicationDidFinishLaunching(id notification) = 0;
};

class NSApplication : public NSObject {
public:
    static NSApplication* sharedApplication();

    void setDelegate(NSApplicationDelegate* delegate) { delegate_ = delegate; }
    NSApplicationDelegate* delegate() const { return delegate_; }

    // Runs the event loop until stop or terminate.
    void run();
    void stop(id sender);
    // Ends the process with status 0.
    [[noreturn]] void terminate(id sender);

private:
    NSApplicationDelegate* delegate_ = nullptr;
};

extern const NSString NSApplicationDidFinishLaunchingNotification;

// Makes the shared application, its delegate and the main interface file, sends the launch
// notification and runs the event loop. Returns 1 when the interface file cannot be loaded.
int NSApplicationMain(int argc, const char* argv[]);

void NSRegisterApplicationDelegateClass(const char* name, std::function<NSApplicationDelegate*()> make);

template <typename T>
struct NSApplicationDelegateRegistration {
    explicit NSApplicationDelegateRegistration(const char* name)
    {
        NSRegisterClass(name, [] { return static_cast<NSObject*>(new T()); });
        NSRegisterApplicationDelegateClass(name, [] { return static_cast<NSApplicationDelegate*>(new T()); });
    }
};
