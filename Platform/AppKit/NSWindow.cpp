#include <AppKit/NSWindow.h>

#include <AppKit/AppKitApplication.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace {
// The window's default button: the enabled, visible push button drawn as the default.
QPushButton* defaultButtonOf(QWidget* window)
{
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->isDefault() && button->isEnabled() && button->isVisible())
            return button;
    return nullptr;
}

// Runs the handler when the window is about to close, and presses the default button on Return
// or Enter that no control of the window took for itself; a child of the window widget.
class CloseWatcher : public QObject {
public:
    explicit CloseWatcher(QWidget* window) : QObject(window), window_(window) { window->installEventFilter(this); }
    std::function<void()> handler;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close && handler)
            handler();
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool returnKey = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (returnKey && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
                if (QPushButton* button = defaultButtonOf(window_)) {
                    button->click();
                    return true;
                }
        }
        return false;
    }

private:
    QWidget* window_;
};

// The first control that Tab reaches, as the window's first responder, with its focus shown as
// after a Tab (the style otherwise hides it until the keyboard is used).
void focusFirstKeyView(QWidget* window)
{
    if (window->focusWidget())
        return;
    window->setAttribute(Qt::WA_KeyboardFocusChange);
    for (QWidget* next = window->nextInFocusChain(); next && next != window; next = next->nextInFocusChain())
        if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(window) && next->window() == window) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
}

// Marks the widgets that are windows of ours.
const char* const kWindowProperty = "NSWindow";

// A plain top-level widget tells screen readers it is a mere "filler" (Qt's client role), so its
// title goes unannounced: ours say they are windows (a frame on AT-SPI), named by their title.
QAccessibleInterface* accessibleWindow(const QString&, QObject* object)
{
    auto* widget = object && object->isWidgetType() ? static_cast<QWidget*>(object) : nullptr;
    if (widget && widget->isWindow() && widget->property(kWindowProperty).toBool())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

void markAsWindow(QWidget* widget)
{
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleWindow), true);
    (void)factoryInstalled;
    widget->setProperty(kWindowProperty, true);
}

QWidget* newTopLevelWidget()
{
    AppKitEnsureApplication();
    auto* window = new QWidget();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    return window;
}
}  // namespace

NSWindow::NSWindow() : NSView(newTopLevelWidget())
{
    adoptWidget(this);
    markAsWindow(widget());
    installCloseWatcher();
}

NSWindow::NSWindow(QWidget* widget) : NSView(widget)
{
    markAsWindow(widget);
    installCloseWatcher();
}

void NSWindow::installCloseWatcher() { closeWatcher_ = new CloseWatcher(widget()); }

void NSWindow::setTitle(const NSString& title) { widget()->setWindowTitle(QString::fromUtf8(title.UTF8String())); }

NSString NSWindow::title() const { return NSString(widget()->windowTitle().toStdString()); }

void NSWindow::setContentView(NSView* view)
{
    contentView_ = view;
    if (!view)
        return;
    auto* layout = widget()->layout();
    if (!layout) {
        layout = new QVBoxLayout(widget());
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(view->widget());
    widget()->resize(view->widget()->size().expandedTo(view->widget()->sizeHint()));
}

void NSWindow::makeKeyAndOrderFront(id)
{
    widget()->show();
    focusFirstKeyView(widget());
    widget()->raise();
    widget()->activateWindow();
}

void NSWindow::orderOut(id) { widget()->hide(); }

BOOL NSWindow::isVisible() const { return widget()->isVisible(); }

void NSWindow::performClose(id) { widget()->close(); }

void NSWindow::setWillCloseHandler(std::function<void()> handler)
{
    static_cast<CloseWatcher*>(closeWatcher_)->handler = std::move(handler);
}
