#include <AppKit/NSView.h>

#include <QObject>
#include <QVariant>
#include <QWidget>

namespace {
const char* const wrapperProperty = "_NSView";

// Deletes the wrapper when Qt deletes the widget.
class WrapperOwner : public QObject {
public:
    WrapperOwner(QWidget* widget, NSView* view) : QObject(widget), view_(view) {}
    ~WrapperOwner() override { delete view_; }

private:
    NSView* view_;
};
}  // namespace

NSView::NSView(QWidget* widget) : widget_(widget) {}
NSView::~NSView() = default;

NSView* NSView::existingViewForWidget(QWidget* widget)
{
    return static_cast<NSView*>(widget->property(wrapperProperty).value<void*>());
}

void NSView::adoptWidget(NSView* view)
{
    view->widget_->setProperty(wrapperProperty, QVariant::fromValue(static_cast<void*>(view)));
    new WrapperOwner(view->widget_, view);
}

void NSView::setHidden(BOOL hidden) { widget_->setHidden(hidden); }
BOOL NSView::isHidden() const { return widget_->isHidden(); }

void NSControl::setEnabled(BOOL enabled) { widget()->setEnabled(enabled); }
BOOL NSControl::isEnabled() const { return widget()->isEnabled(); }

void NSControl::setAction(SEL action, std::function<void(id)> perform)
{
    action_ = action;
    perform_ = std::move(perform);
}

void NSControl::sendAction()
{
    if (perform_)
        perform_(this);
}
