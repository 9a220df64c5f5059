#include "NSColorWell.h"

#include <QAbstractButton>
#include <QColorDialog>

#include <algorithm>
#include <cmath>

NSColorWell::NSColorWell(QWidget* widget) : NSControl(widget)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(QString());
        QObject::connect(button, &QAbstractButton::clicked, button, [this] { chooseColor(); });
    }
    paintSwatch();
}

void NSColorWell::setColor(const NSColor& color)
{
    color_ = color;
    paintSwatch();
}

void NSColorWell::chooseColor()
{
    std::optional<NSColor> rgb = color_.colorUsingColorSpaceName(NSCalibratedRGBColorSpace);
    QColor current = rgb ? QColor::fromRgbF(static_cast<float>(rgb->redComponent()), static_cast<float>(rgb->greenComponent()),
                                            static_cast<float>(rgb->blueComponent()))
                         : QColor(Qt::white);
    QColor chosen = QColorDialog::getColor(current, widget(), QStringLiteral("Colors"));
    if (!chosen.isValid())
        return;  // cancelled
    setColor(NSColor::colorWithCalibratedRed(chosen.redF(), chosen.greenF(), chosen.blueF(), 1.0));
    sendAction();
}

void NSColorWell::paintSwatch()
{
    std::optional<NSColor> rgb = color_.colorUsingColorSpaceName(NSCalibratedRGBColorSpace);
    auto channel = [](CGFloat value) { return std::isnan(value) ? 0 : static_cast<int>(std::clamp(value, 0.0, 1.0) * 255.0 + 0.5); };
    QString fill = rgb ? QStringLiteral("rgb(%1,%2,%3)")
                             .arg(channel(rgb->redComponent()))
                             .arg(channel(rgb->greenComponent()))
                             .arg(channel(rgb->blueComponent()))
                       : QStringLiteral("gray");
    widget()->setStyleSheet(QStringLiteral("QAbstractButton { background-color: %1; border: 3px solid #b0b0b0; border-radius: 3px; }"
                                           "QAbstractButton:disabled { border-color: #e0e0e0; }")
                                .arg(fill));
}
