// The first page as the skin frames it: the page picture scaled to fit, on the background colour
// (or the skin's backdrop), with the skin's border and folded top-right corner.
#pragma once

#include "PreviewLook.h"

#include <QImage>
#include <QWidget>

class PagePictureView : public QWidget {
public:
    PagePictureView(QImage page, const PreviewLook& look, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage page_;
    PreviewLook look_;
};
