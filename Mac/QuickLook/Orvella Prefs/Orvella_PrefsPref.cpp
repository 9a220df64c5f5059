#include "Orvella_PrefsPref.h"

#include "OrvellaColorText.h"
#include "OrvellaLogoutPrompt.h"
#include "OrvellaSettings.h"
#include "OrvellaSkinPicture.h"

// Controls whose outlet the interface file did not connect are left alone, as messages to nil are.

void Orvella_PrefsPref::mainViewDidLoad()
{
    OrvellaLookUpInstall();
    OrvellaLoadSettings();

    // "Skin Index" holds the list index minus one. One outside the list (the "-2" an apply
    // without a selection leaves, or a list that has since shrunk) shows the first skin.
    if (comboSkin) {
        const long long listIndex = OrvellaStoredSkinListIndex();
        comboSkin->selectItemAtIndex(listIndex >= 0 && listIndex < comboSkin->numberOfItems() ? listIndex : 0);
        showSkinPicture(comboSkin->stringValue());
    }

    OrvellaBackground background = OrvellaBackgroundFromValue(OrvellaStoredValue("BGColor"));
    if (background.noColor) {
        if (myColor)
            myColor->setEnabled(NO);
        if (radioButton)
            radioButton->selectCellWithTag(1);
    } else {
        if (myColor) {
            myColor->setColor(background.color);
            myColor->setEnabled(YES);
        }
        if (radioButton)
            radioButton->selectCellWithTag(0);
    }
}

void Orvella_PrefsPref::setSkin(id)
{
    OrvellaLookUpInstall();

    const bool noColor = radioButton && radioButton->selectedRow() == 0;
    NSString backgroundText = noColor ? NSString("none") : OrvellaColorText(myColor ? myColor->color() : NSColor::blackColor());
    const NSInteger selectedIndex = comboSkin ? comboSkin->indexOfSelectedItem() : -1;
    NSString skinText = NSString::stringWithFormat("%d", selectedIndex - 1);

    // Asking to log out for settings that were not stored would mislead: say so instead.
    if (!OrvellaStoreSettings(skinText, backgroundText)) {
        OrvellaRunSettingsNotSavedAlert();
        return;
    }
    OrvellaRunLogoutPrompt();
}

void Orvella_PrefsPref::colorSelection(id)
{
    if (myColor && radioButton)
        myColor->setEnabled(radioButton->selectedRow() != 0);
}

void Orvella_PrefsPref::changeImage(id)
{
    if (!comboSkin)
        return;
    std::optional<NSString> title = comboSkin->objectValueOfSelectedItem();
    showSkinPicture(title ? *title : NSString("(null)"));
}

void Orvella_PrefsPref::willUnselect() {}

void Orvella_PrefsPref::showSkinPicture(const NSString& title)
{
    if (!imageWell)
        return;
    std::unique_ptr<NSImage> picture = OrvellaSkinPicture(title);
    imageWell->setImage(picture.get());
}
