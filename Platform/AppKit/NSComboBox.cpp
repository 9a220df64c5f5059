#include <AppKit/NSComboBox.h>

#include <QComboBox>
#include <QSignalBlocker>

namespace {
QComboBox* comboOf(QWidget* widget) { return qobject_cast<QComboBox*>(widget); }
}  // namespace

NSComboBox::NSComboBox(QWidget* widget) : NSControl(widget)
{
    if (auto* combo = comboOf(widget))
        QObject::connect(combo, &QComboBox::activated, combo, [this] { sendAction(); });
}

void NSComboBox::addItemWithObjectValue(const NSString& title)
{
    if (auto* combo = comboOf(widget()))
        combo->addItem(QString::fromUtf8(title.UTF8String()));
}

NSInteger NSComboBox::numberOfItems() const
{
    auto* combo = comboOf(widget());
    return combo ? combo->count() : 0;
}

void NSComboBox::selectItemAtIndex(NSInteger index)
{
    auto* combo = comboOf(widget());
    if (!combo)
        return;
    QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? static_cast<int>(index) : -1);
}

NSInteger NSComboBox::indexOfSelectedItem() const
{
    auto* combo = comboOf(widget());
    return combo ? combo->currentIndex() : -1;
}

std::optional<NSString> NSComboBox::objectValueOfSelectedItem() const
{
    NSInteger index = indexOfSelectedItem();
    if (index < 0)
        return std::nullopt;
    return itemObjectValueAtIndex(index);
}

NSString NSComboBox::itemObjectValueAtIndex(NSInteger index) const
{
    auto* combo = comboOf(widget());
    if (!combo || index < 0 || index >= combo->count())
        return NSString();
    return NSString(combo->itemText(static_cast<int>(index)).toStdString());
}

NSString NSComboBox::stringValue() const
{
    auto* combo = comboOf(widget());
    return combo ? NSString(combo->currentText().toStdString()) : NSString();
}
