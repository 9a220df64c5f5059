#include "PaneHost.h"

BOOL PaneHost::fail(const NSString& message)
{
    error_ = message;
    return NO;
}

BOOL PaneHost::openPane(const NSString& bundlePath)
{
    NSBundle* bundle = NSBundle::bundleWithPath(bundlePath);
    if (!bundle)
        return fail(NSString::stringWithFormat("%@: no such bundle", bundlePath));
    if (bundle->bundleIdentifier().utf8().empty())
        return fail(NSString::stringWithFormat("%@: Contents/Info.plist is missing or has no CFBundleIdentifier", bundlePath));
    NSString principalClass = bundle->objectForInfoDictionaryKey("NSPrincipalClass");
    if (principalClass.utf8().empty())
        return fail(NSString::stringWithFormat("%@: Info.plist names no NSPrincipalClass", bundlePath));
    if (!bundle->load())
        return fail(NSString::stringWithFormat("%@: %@", bundlePath, bundle->loadError()));

    Class paneClass = NSClassFromString(principalClass);
    NSObject* instance = paneClass ? paneClass->alloc() : nil;
    pane_ = dynamic_cast<NSPreferencePane*>(instance);
    if (!pane_) {
        delete instance;
        return fail(NSString::stringWithFormat("%@: the bundle's code has no preference pane class %@", bundlePath, principalClass));
    }
    pane_->initWithBundle(bundle);
    NSView* mainView = pane_->loadMainView();
    if (!mainView)
        return fail(NSString::stringWithFormat("%@: %@", bundlePath, pane_->loadError()));
    if (!pane_->loadError().utf8().empty())
        NSLog("%@: %@", bundlePath, pane_->loadError());  // a partly connected view still opens

    NSString title = bundle->objectForInfoDictionaryKey("NSPrefPaneIconLabel");
    if (title.utf8().empty())
        title = bundle->objectForInfoDictionaryKey("CFBundleName");
    window_ = new NSWindow();
    window_->setTitle(title.utf8().empty() ? bundlePath.lastPathComponent() : title);
    window_->setContentView(mainView);
    NSPreferencePane* pane = pane_;
    window_->setWillCloseHandler([pane] {
        pane->willUnselect();
        pane->didUnselect();
    });
    pane_->willSelect();
    window_->makeKeyAndOrderFront(nil);
    pane_->didSelect();
    return YES;
}
