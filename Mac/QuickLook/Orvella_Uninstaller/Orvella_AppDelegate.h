// The uninstaller's whole work: at launch, remove the generator bundle and the pane bundle with
// administrator rights, report the outcome in one alert and end the process.
#pragma once

#include <AppKit/AppKit.h>
#include <AppKit/NSApplication.h>

class Orvella_AppDelegate : public NSObject, public NSApplicationDelegate {
public:
    NSWindow* window = nil;

    void applicationDidFinishLaunching(id aNotification) override;
    void nibConnections(NSNibConnections& connections) override;
};
