// Base class of a preference pane's principal class. The host makes the pane with
// initWithBundle, asks it to loadMainView (which builds the view from the bundle's main interface
// file, NSMainNibFile in Info.plist, and calls mainViewDidLoad), shows the view, and calls
// willUnselect and didUnselect when the user leaves the pane.
#pragma once

#include <AppKit/AppKit.h>

class NSPreferencePane : public NSObject, public NSNibOwner {
public:
    NSPreferencePane* initWithBundle(NSBundle* bundle);
    NSBundle* bundle() const { return bundle_; }

    // nil when the interface file cannot be loaded; the reason is in loadError().
    NSView* loadMainView();
    NSView* mainView() const { return mainView_; }
    const NSString& loadError() const { return loadError_; }

    virtual void mainViewDidLoad() {}
    virtual void willSelect() {}
    virtual void didSelect() {}
    virtual void willUnselect() {}
    virtual void didUnselect() {}

    // The outlets and actions the main interface file is connected to; none by default.
    void nibConnections(NSNibConnections&) override {}

private:
    NSBundle* bundle_ = nil;
    NSView* mainView_ = nil;
    NSString loadError_;
};
