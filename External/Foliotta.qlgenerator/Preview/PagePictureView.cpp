#include "PagePictureView.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kMargin = 24;

}  // namespace

PagePictureView::PagePictureView(QImage page, const PreviewLook& look, QWidget* parent)
    : QWidget(parent), page_(std::move(page)), look_(look) {
    setObjectName(QStringLiteral("pagePicture"));
    setMinimumSize(160, 160);
}

void PagePictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QColor behind = look_.background.value_or(SkinQColor(look_.skin->backdrop));
    painter.fillRect(rect(), behind);
    if (page_.isNull()) return;

    const QRectF room = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    QSizeF size = QSizeF(page_.size()).scaled(room.size(), Qt::KeepAspectRatio);
    const QRectF pageRect(room.center().x() - size.width() / 2, room.center().y() - size.height() / 2, size.width(), size.height());
    const SkinPageFrame frame = SkinPageFrameFor(std::max(size.width(), size.height()));
    const double fold = frame.cornerSize;

    // The page with its top-right corner cut off; the cut shows what lies behind the page.
    QPainterPath outline;
    outline.moveTo(pageRect.topLeft());
    outline.lineTo(pageRect.right() - fold, pageRect.top());
    outline.lineTo(pageRect.right(), pageRect.top() + fold);
    outline.lineTo(pageRect.bottomRight());
    outline.lineTo(pageRect.bottomLeft());
    outline.closeSubpath();
    painter.save();
    painter.setClipPath(outline);
    painter.fillRect(pageRect, Qt::white);
    painter.drawImage(pageRect, page_);
    painter.restore();

    painter.setPen(QPen(SkinQColor(look_.skin->frame), frame.borderWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);

    QPainterPath flap;
    flap.moveTo(pageRect.right() - fold, pageRect.top());
    flap.lineTo(pageRect.right() - fold, pageRect.top() + fold);
    flap.lineTo(pageRect.right(), pageRect.top() + fold);
    flap.closeSubpath();
    painter.setBrush(SkinQColor(look_.skin->accent));
    painter.drawPath(flap);
}
