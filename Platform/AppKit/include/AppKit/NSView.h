// Views wrap the Qt widgets that an interface file or the program made. A wrapper lives as long as
// its widget: it is made once per widget (viewForWidget) and deleted with it.
#pragma once

#include <Foundation/Foundation.h>

#include <functional>

class QWidget;

class NSView : public NSObject {
public:
    explicit NSView(QWidget* widget);
    ~NSView() override;
    NSView(const NSView&) = delete;
    NSView& operator=(const NSView&) = delete;

    // The wrapper of class T for the widget, made on first request. A widget already wrapped by
    // another class keeps that wrapper and the answer is nil.
    template <typename T>
    static T* viewForWidget(QWidget* widget)
    {
        if (!widget)
            return nil;
        if (NSView* existing = existingViewForWidget(widget))
            return dynamic_cast<T*>(existing);
        T* view = new T(widget);
        adoptWidget(view);
        return view;
    }

    // The wrapper the widget already has, of whatever class; nil when it has none.
    static NSView* existingViewForWidget(QWidget* widget);

    QWidget* widget() const { return widget_; }
    void setHidden(BOOL hidden);
    BOOL isHidden() const;

protected:
    // Ties the wrapper's life to its widget's.
    static void adoptWidget(NSView* view);

private:
    QWidget* widget_;
};

// Controls send their action to the target when the user works them.
class NSControl : public NSView {
public:
    using NSView::NSView;

    void setEnabled(BOOL enabled);
    BOOL isEnabled() const;
    // The stand-in for target and action: what to call, and the message's name for diagnostics.
    void setAction(SEL action, std::function<void(id sender)> perform);
    SEL action() const { return action_; }
    // Sends the action as if the user had worked the control.
    void sendAction();

private:
    SEL action_ = nil;
    std::function<void(id)> perform_;
};
