#include "NSButton.h"

#include <QAbstractButton>

NSButton::NSButton(QWidget* widget) : NSControl(widget)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QObject::connect(button, &QAbstractButton::clicked, button, [this] { sendAction(); });
}

NSString NSButton::title() const
{
    auto* button = qobject_cast<QAbstractButton*>(widget());
    return button ? NSString(button->text().toStdString()) : NSString();
}

void NSButton::setTitle(const NSString& title)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget()))
        button->setText(QString::fromUtf8(title.UTF8String()));
}

void NSButton::performClick(id)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget()))
        button->click();
}
