// Shows one picture scaled to fit, keeping its proportions (a Qt label). The picture follows the
// view's size, and is drawn from the full picture at the screen's pixel density.
#pragma once

#include "NSImage.h"
#include "NSView.h"

#include <memory>

class QImage;

class NSImageView : public NSControl {
public:
    explicit NSImageView(QWidget* widget);
    ~NSImageView() override;
    // nil empties the view. The view keeps its own copy of the picture.
    void setImage(const NSImage* image);
    BOOL hasImage() const;

private:
    friend class NSImageViewResizeWatcher;
    void showScaled();
    std::unique_ptr<QImage> image_;  // none: the view shows what its interface file gave it
};
