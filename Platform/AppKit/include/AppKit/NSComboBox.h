// A list of titles with one selected (a Qt combo box). Sends its action when the user picks an
// item; selecting from code sends nothing, as on the platform.
#pragma once

#include "NSView.h"

#include <optional>

class NSComboBox : public NSControl {
public:
    explicit NSComboBox(QWidget* widget);

    void addItemWithObjectValue(const NSString& title);
    NSInteger numberOfItems() const;
    // An index outside the list selects nothing (-1).
    void selectItemAtIndex(NSInteger index);
    // -1 when nothing is selected.
    NSInteger indexOfSelectedItem() const;
    // The selected item's title; nil when nothing is selected.
    std::optional<NSString> objectValueOfSelectedItem() const;
    NSString itemObjectValueAtIndex(NSInteger index) const;
    // The text shown in the field.
    NSString stringValue() const;
};
