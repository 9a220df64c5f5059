// Opens one preference pane bundle in a window, as System Preferences does: reads the bundle's
// Info.plist, loads its code, makes its principal class, loads the main view and shows it.
#pragma once

#include <PreferencePanes/PreferencePanes.h>

class PaneHost {
public:
    // NO with a message in error() when the bundle cannot be opened.
    BOOL openPane(const NSString& bundlePath);
    const NSString& error() const { return error_; }
    NSPreferencePane* pane() const { return pane_; }
    NSWindow* window() const { return window_; }

private:
    BOOL fail(const NSString& message);
    NSPreferencePane* pane_ = nil;
    NSWindow* window_ = nil;
    NSString error_;
};
