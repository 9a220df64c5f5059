#include <PreferencePanes/NSPreferencePane.h>

NSPreferencePane* NSPreferencePane::initWithBundle(NSBundle* bundle)
{
    bundle_ = bundle;
    return this;
}

NSView* NSPreferencePane::loadMainView()
{
    if (mainView_)
        return mainView_;
    NSString nibName = bundle_ ? bundle_->objectForInfoDictionaryKey("NSMainNibFile") : NSString();
    if (nibName.utf8().empty()) {
        loadError_ = "the bundle's Info.plist names no NSMainNibFile";
        return nil;
    }
    mainView_ = NSNib::instantiateNibNamed(nibName, bundle_, this, &loadError_);
    if (mainView_)
        mainViewDidLoad();
    return mainView_;
}
