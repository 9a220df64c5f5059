// A swatch of one colour (a Qt button that the well paints itself): the chosen colour exactly,
// inside a frame, with keyboard focus drawn as a ring around the frame. Clicking it, or Space
// while it has focus, opens the colour dialog; a colour chosen there becomes the well's colour
// and sends the action. The dialog is titled with the well's accessible name; the well's
// accessible description is its colour, "RGB(51,102,204)", for screen readers.
#pragma once

#include "NSColor.h"
#include "NSView.h"

class QPainter;

class NSColorWell : public NSControl {
public:
    explicit NSColorWell(QWidget* widget);

    const NSColor& color() const { return color_; }
    void setColor(const NSColor& color);

private:
    friend class NSColorWellPainter;
    void chooseColor();
    void paint(QPainter& painter) const;
    NSColor color_ = NSColor::whiteColor();
};
