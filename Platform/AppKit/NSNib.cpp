#include <AppKit/NSNib.h>

#include <AppKit/AppKitApplication.h>
#include <AppKit/NSButton.h>
#include <AppKit/NSColorWell.h>
#include <AppKit/NSComboBox.h>
#include <AppKit/NSImageView.h>
#include <AppKit/NSMatrix.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QUiLoader>
#include <QVariant>
#include <QWidget>

namespace {

NSView* wrapByClassName(QWidget* widget, const std::string& className)
{
    if (className == "NSColorWell") return NSView::viewForWidget<NSColorWell>(widget);
    if (className == "NSMatrix") return NSView::viewForWidget<NSMatrix>(widget);
    if (className == "NSComboBox") return NSView::viewForWidget<NSComboBox>(widget);
    if (className == "NSImageView") return NSView::viewForWidget<NSImageView>(widget);
    if (className == "NSButton") return NSView::viewForWidget<NSButton>(widget);
    return NSView::viewForWidget<NSView>(widget);
}

NSControl* controlForWidget(QWidget* widget)
{
    if (NSView* existing = NSView::existingViewForWidget(widget))
        return dynamic_cast<NSControl*>(existing);
    return nil;
}

// The control that sends a widget's action, by the widget's Qt kind.
NSControl* wrapAsControl(QWidget* widget)
{
    if (qobject_cast<QComboBox*>(widget)) return NSView::viewForWidget<NSComboBox>(widget);
    if (qobject_cast<QAbstractButton*>(widget)) return NSView::viewForWidget<NSButton>(widget);
    if (qobject_cast<QLabel*>(widget)) return NSView::viewForWidget<NSImageView>(widget);
    if (!widget->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly).isEmpty())
        return NSView::viewForWidget<NSMatrix>(widget);
    return nil;
}

QWidget* findNamed(QWidget* root, const char* name)
{
    if (root->objectName() == QLatin1String(name))
        return root;
    return root->findChild<QWidget*>(QLatin1String(name));
}

void addProblem(NSString* error, const NSString& problem)
{
    if (error)
        *error = error->utf8().empty() ? problem : NSString::stringWithFormat("%@; %@", *error, problem);
}

}  // namespace

NSView* NSNib::instantiateNibNamed(const NSString& name, NSBundle* bundle, NSNibOwner* owner, NSString* error)
{
    AppKitEnsureApplication();
    if (error)
        *error = NSString();
    if (!bundle) {
        addProblem(error, "no bundle to load the interface file from");
        return nil;
    }
    NSString path = bundle->pathForResource(name, "ui");
    QFile file(QString::fromUtf8(path.UTF8String()));
    if (path.utf8().empty() || !file.open(QIODevice::ReadOnly)) {
        addProblem(error, NSString::stringWithFormat("no interface file %@.ui in %@", name, bundle->resourcePath()));
        return nil;
    }
    QUiLoader loader;
    QWidget* root = loader.load(&file);
    if (!root) {
        addProblem(error, NSString::stringWithFormat("%@: %@", path, loader.errorString().toStdString()));
        return nil;
    }

    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets)
        if (QVariant className = widget->property("class"); className.isValid())
            wrapByClassName(widget, className.toString().toStdString());

    NSNibConnections connections;
    if (owner)
        owner->nibConnections(connections);
    for (const auto& outlet : connections.outlets_) {
        QWidget* widget = findNamed(root, outlet.name);
        if (!widget || !outlet.connect(widget))
            addProblem(error, NSString::stringWithFormat("outlet %s has no matching widget", outlet.name));
    }
    for (QWidget* widget : widgets) {
        QVariant selector = widget->property("action");
        if (!selector.isValid())
            continue;
        const std::string wanted = selector.toString().toStdString();
        NSControl* control = controlForWidget(widget);
        if (!control)
            control = wrapAsControl(widget);
        const NSNibConnections::Action* match = nullptr;
        for (const auto& action : connections.actions_)
            if (wanted == action.selector)
                match = &action;
        if (!control || !match) {
            addProblem(error, NSString::stringWithFormat("action %s of %s cannot be connected", wanted.c_str(),
                                                         widget->objectName().toStdString().c_str()));
            continue;
        }
        control->setAction(match->selector, match->perform);
    }
    return NSView::viewForWidget<NSView>(root);
}
