// Shows one picture scaled to fit, keeping its proportions (a Qt label).
#pragma once

#include "NSImage.h"
#include "NSView.h"

class NSImageView : public NSControl {
public:
    explicit NSImageView(QWidget* widget);
    // nil empties the view. The view keeps its own copy of the picture.
    void setImage(const NSImage* image);
    BOOL hasImage() const;
};
