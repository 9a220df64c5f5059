// The preference pane's controller: shows the stored preview appearance (skin, picture,
// background colour), stores the user's choice in the preview generator's skin.plist on apply
// and then asks the user to log out; also offers to uninstall the product.
#pragma once

#include <AppKit/AppKit.h>
#include <PreferencePanes/PreferencePanes.h>

class Orvella_PrefsPref : public NSPreferencePane {
public:
    void mainViewDidLoad() override;
    void setSkin(id sender);
    void colorSelection(id sender);
    void changeImage(id sender);
    void willUnselect() override;
    void uninstall(id sender);

    // The outlets and actions of the main interface file.
    void nibConnections(NSNibConnections& connections) override;

    NSButton* buttonImage = nil;
    NSButton* butUninstall = nil;
    NSMatrix* radioButton = nil;
    NSComboBox* comboSkin = nil;
    NSImageView* imageView = nil;
    NSImageView* imageWell = nil;
    NSColorWell* myColor = nil;
    NSView* myView = nil;

private:
    void showSkinPicture(const NSString& title);
};
