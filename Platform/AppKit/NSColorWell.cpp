#include <AppKit/NSColorWell.h>

#include <QAbstractButton>
#include <QColorDialog>
#include <QEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

// Paints the well in place of the button's own look, which would tint the colour while the
// button has focus or is hovered.
class NSColorWellPainter : public QObject {
public:
    NSColorWellPainter(QWidget* widget, const NSColorWell* well) : QObject(widget), well_(well) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        QPainter painter(static_cast<QWidget*>(watched));
        well_->paint(painter);
        return true;
    }

private:
    const NSColorWell* well_;
};

namespace {
const int kFocusRing = 2;   // the ring, outside the frame
const int kFrameInset = 3;  // from the widget's edge to the frame
const int kSwatchInset = 5; // from the widget's edge to the colour

std::optional<QColor> qColorOf(const NSColor& color)
{
    std::optional<NSColor> rgb = color.colorUsingColorSpaceName(NSCalibratedRGBColorSpace);
    if (!rgb)
        return std::nullopt;
    auto channel = [](CGFloat value) { return std::isnan(value) ? 0 : static_cast<int>(std::clamp(value, 0.0, 1.0) * 255.0 + 0.5); };
    return QColor(channel(rgb->redComponent()), channel(rgb->greenComponent()), channel(rgb->blueComponent()));
}
}  // namespace

NSColorWell::NSColorWell(QWidget* widget) : NSControl(widget)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(QString());
        QObject::connect(button, &QAbstractButton::clicked, button, [this] { chooseColor(); });
    }
    new NSColorWellPainter(widget, this);
    setColor(color_);
}

void NSColorWell::setColor(const NSColor& color)
{
    color_ = color;
    // What a screen reader says after the well's name: the colour, as the eye sees it in the swatch.
    const std::optional<QColor> shown = qColorOf(color_);
    widget()->setAccessibleDescription(
        shown ? QStringLiteral("RGB(%1,%2,%3)").arg(shown->red()).arg(shown->green()).arg(shown->blue()) : QStringLiteral("No colour"));
    widget()->update();
}

void NSColorWell::chooseColor()
{
    const QColor current = qColorOf(color_).value_or(QColor(Qt::white));
    const QString title = widget()->accessibleName().isEmpty() ? QStringLiteral("Colour") : widget()->accessibleName();
    QColor chosen = QColorDialog::getColor(current, widget(), title);
    if (!chosen.isValid())
        return;  // cancelled
    setColor(NSColor::colorWithCalibratedRed(chosen.redF(), chosen.greenF(), chosen.blueF(), 1.0));
    sendAction();
}

void NSColorWell::paint(QPainter& painter) const
{
    const QWidget* well = widget();
    const QPalette& palette = well->palette();
    const bool enabled = well->isEnabled();
    const QRect frame = well->rect().adjusted(kFrameInset, kFrameInset, -kFrameInset, -kFrameInset);
    const QRect swatch = well->rect().adjusted(kSwatchInset, kSwatchInset, -kSwatchInset, -kSwatchInset);

    if (well->hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette.color(QPalette::Highlight), kFocusRing));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(well->rect()).adjusted(1, 1, -1, -1), 3, 3);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette.color(enabled ? QPalette::Mid : QPalette::Midlight));
    painter.drawRect(frame);
    painter.setBrush(palette.color(QPalette::Base));
    painter.drawRect(frame.adjusted(1, 1, -1, -1));

    if (std::optional<QColor> colour = qColorOf(color_)) {
        QColor shown = *colour;
        if (!enabled)  // faded towards the window, as other disabled controls are
            shown = QColor((shown.red() + palette.color(QPalette::Window).red()) / 2,
                           (shown.green() + palette.color(QPalette::Window).green()) / 2,
                           (shown.blue() + palette.color(QPalette::Window).blue()) / 2);
        painter.fillRect(swatch, shown);
    } else {
        painter.fillRect(swatch, QBrush(palette.color(QPalette::Mid), Qt::DiagCrossPattern));  // no colour of its own
    }
}
