#include <AppKit/NSButton.h>

#include <QAbstractButton>

NSButton::NSButton(QWidget* widget) : NSControl(widget)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QObject::connect(button, &QAbstractButton::clicked, button, [this] { sendAction(); });
}

// The title without its keyboard mnemonic: "&Apply" reads "Apply", "&&" one "&".
NSString NSButton::title() const
{
    auto* button = qobject_cast<QAbstractButton*>(widget());
    if (!button)
        return NSString();
    QString shown;
    const QString text = button->text();
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == QLatin1Char('&') && at + 1 < text.size())
            ++at;
        shown += text[at];
    }
    return NSString(shown.toStdString());
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
