// A swatch of one colour (a Qt button painted in the colour); clicking it opens the Qt colour
// dialog, and a colour chosen there becomes the well's colour and sends the action.
#pragma once

#include "NSColor.h"
#include "NSView.h"

class NSColorWell : public NSControl {
public:
    explicit NSColorWell(QWidget* widget);

    const NSColor& color() const { return color_; }
    void setColor(const NSColor& color);

private:
    void chooseColor();
    void paintSwatch();
    NSColor color_ = NSColor::whiteColor();
};
