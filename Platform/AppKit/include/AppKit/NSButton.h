// A push button (any Qt button); sends its action when clicked.
#pragma once

#include "NSView.h"

class NSButton : public NSControl {
public:
    explicit NSButton(QWidget* widget);
    // The title as shown, without the keyboard mnemonic's marker.
    NSString title() const;
    void setTitle(const NSString& title);
    // Clicks the button as the user would: the action is sent.
    void performClick(id sender);
};
