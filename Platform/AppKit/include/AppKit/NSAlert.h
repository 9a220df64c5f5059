// Modal alerts in a window of their own (NSAlertPanel.h). runModal answers NSAlertFirstButtonReturn
// (1000) for the first button added, 1001 for the second, and so on; Escape presses the last.
// On Qt's offscreen platform, where no one can see an alert, it is answered by its last button at
// once and said so on standard error.
#pragma once

#include <Foundation/Foundation.h>

#include <vector>

typedef NSUInteger NSAlertStyle;
enum : NSAlertStyle { NSWarningAlertStyle = 0, NSInformationalAlertStyle = 1, NSCriticalAlertStyle = 2 };

typedef NSInteger NSModalResponse;
enum : NSModalResponse {
    NSAlertFirstButtonReturn = 1000,
    NSAlertSecondButtonReturn = 1001,
    NSAlertThirdButtonReturn = 1002,
};

class NSAlert : public NSObject {
public:
    void setMessageText(const NSString& text) { messageText_ = text; }
    void setInformativeText(const NSString& text) { informativeText_ = text; }
    void addButtonWithTitle(const NSString& title) { buttonTitles_.push_back(title); }
    void setAlertStyle(NSAlertStyle style) { alertStyle_ = style; }

    const NSString& messageText() const { return messageText_; }
    const NSString& informativeText() const { return informativeText_; }
    NSAlertStyle alertStyle() const { return alertStyle_; }
    const std::vector<NSString>& buttonTitles() const { return buttonTitles_; }

    // Blocks until a button is pressed. An alert without buttons gets one titled "OK".
    NSModalResponse runModal();

private:
    NSString messageText_;
    NSString informativeText_;
    NSAlertStyle alertStyle_ = NSWarningAlertStyle;
    std::vector<NSString> buttonTitles_;
};
