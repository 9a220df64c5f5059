// A top-level window around one content view. Return or Enter that no control takes presses the
// window's default button; when the window is shown, the first control that Tab reaches has focus.
// Screen readers hear it as a window (a frame), named by its title.
#pragma once

#include "NSView.h"

#include <functional>

class QObject;

class NSWindow : public NSView {
public:
    // A new, empty window; it lives until its widget is deleted.
    NSWindow();
    // Wraps an existing top-level widget.
    explicit NSWindow(QWidget* widget);

    void setTitle(const NSString& title);
    NSString title() const;
    // The view becomes the window's only content; the window takes the view's size.
    void setContentView(NSView* view);
    NSView* contentView() const { return contentView_; }
    void makeKeyAndOrderFront(id sender);
    void orderOut(id sender);
    BOOL isVisible() const;
    // Closes the window as the user would: the will-close handler runs first.
    void performClose(id sender);
    // The stand-in for the delegate's windowWillClose:.
    void setWillCloseHandler(std::function<void()> handler);

private:
    void installCloseWatcher();
    NSView* contentView_ = nil;
    QObject* closeWatcher_ = nullptr;  // owned by the window widget
};
