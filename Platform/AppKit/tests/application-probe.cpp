// A small application for NSApplicationMain: its delegate reports what it was given at launch
// and ends the process.
#include <AppKit/AppKit.h>
#include <AppKit/NSApplication.h>

#include <cstdio>
#include <cstdlib>

class Probe_AppDelegate : public NSObject, public NSApplicationDelegate {
public:
    NSWindow* window = nil;

    void nibConnections(NSNibConnections& connections) override { connections.outlet("window", window); }

    void applicationDidFinishLaunching(id notification) override
    {
        std::printf("launched %s\n", notification != nil ? notification->description().c_str() : "(nil)");
        std::printf("window %s\n", window != nil ? window->title().UTF8String() : "(nil)");
        std::printf("delegate %s\n", NSApplication::sharedApplication()->delegate() == this ? "set" : "not set");
        std::fflush(stdout);
        std::exit(0);
    }
};

static NSApplicationDelegateRegistration<Probe_AppDelegate> registration("Probe_AppDelegate");

int main(int argc, char* argv[])
{
    return NSApplicationMain(argc, const_cast<const char**>(argv));
}
