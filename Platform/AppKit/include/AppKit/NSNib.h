// Interface files: a Qt Designer ".ui" file in a bundle's Resources folder stands for the
// platform's nib. Loading one builds its widgets and connects them to the file's owner:
//   outlets  by object name: the widget named like the outlet is wrapped in the outlet's class;
//   actions  by the widget's string property "action" (e.g. "setSkin:"), sent when the user works
//            the control.
// A widget's string property "class" (e.g. "NSColorWell", "NSMatrix") names its wrapper class
// where the widget's Qt kind does not say it: a button is an NSButton, a combo box an
// NSComboBox, a label an NSImageView, a container of radio buttons with an action an NSMatrix.
#pragma once

#include "NSView.h"

#include <functional>
#include <vector>

class NSBundle;

// What the owner of an interface file offers to it.
class NSNibConnections {
public:
    template <typename T>
    void outlet(const char* name, T*& slot)
    {
        outlets_.push_back({name, [&slot](QWidget* widget) {
                                slot = NSView::viewForWidget<T>(widget);
                                return slot != nil;
                            }});
    }
    void action(SEL selector, std::function<void(id sender)> perform) { actions_.push_back({selector, std::move(perform)}); }

private:
    friend class NSNib;
    struct Outlet {
        const char* name;
        std::function<bool(QWidget*)> connect;
    };
    struct Action {
        SEL selector;
        std::function<void(id)> perform;
    };
    std::vector<Outlet> outlets_;
    std::vector<Action> actions_;
};

class NSNibOwner {
public:
    virtual ~NSNibOwner() = default;
    virtual void nibConnections(NSNibConnections& connections) = 0;
};

class NSNib {
public:
    // Loads Resources/<name>.ui of the bundle and connects it to the owner. The top-level view, or
    // nil with the reason in *error. Outlets or actions without a widget are reported in *error
    // too, but do not stop the load.
    static NSView* instantiateNibNamed(const NSString& name, NSBundle* bundle, NSNibOwner* owner, NSString* error);
};
