#include "NSWindow.h"

#include "AppKitApplication.h"

#include <QCloseEvent>
#include <QEvent>
#include <QVBoxLayout>
#include <QWidget>

namespace {
// Runs the handler when the window is about to close; a property of the window widget.
class CloseWatcher : public QObject {
public:
    explicit CloseWatcher(QWidget* window) : QObject(window) { window->installEventFilter(this); }
    std::function<void()> handler;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close && handler)
            handler();
        return false;
    }
};

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
    installCloseWatcher();
}

NSWindow::NSWindow(QWidget* widget) : NSView(widget) { installCloseWatcher(); }

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
