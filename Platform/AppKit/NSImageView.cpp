#include "NSImageView.h"

#include <QLabel>
#include <QPixmap>

NSImageView::NSImageView(QWidget* widget) : NSControl(widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setAlignment(Qt::AlignCenter);
}

void NSImageView::setImage(const NSImage* image)
{
    auto* label = qobject_cast<QLabel*>(widget());
    if (!label)
        return;
    if (!image) {
        label->clear();
        return;
    }
    QPixmap picture = QPixmap::fromImage(image->qImage());
    const QSize room = label->contentsRect().size();
    if (room.width() > 0 && room.height() > 0 && (picture.width() > room.width() || picture.height() > room.height()))
        picture = picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    label->setPixmap(picture);
}

BOOL NSImageView::hasImage() const
{
    auto* label = qobject_cast<QLabel*>(widget());
    return label && !label->pixmap().isNull();
}
