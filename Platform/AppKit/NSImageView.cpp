#include <AppKit/NSImageView.h>

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPixmap>

// Scales the picture anew whenever the view changes size or is shown (on a screen of its density).
class NSImageViewResizeWatcher : public QObject {
public:
    NSImageViewResizeWatcher(QWidget* widget, NSImageView* view) : QObject(widget), view_(view) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            view_->showScaled();
        return false;
    }

private:
    NSImageView* view_;
};

NSImageView::NSImageView(QWidget* widget) : NSControl(widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setAlignment(Qt::AlignCenter);
    new NSImageViewResizeWatcher(widget, this);
}

NSImageView::~NSImageView() = default;

void NSImageView::setImage(const NSImage* image)
{
    image_ = image ? std::make_unique<QImage>(image->qImage()) : nullptr;
    if (auto* label = qobject_cast<QLabel*>(widget()); label && !image_)
        label->clear();
    showScaled();
}

void NSImageView::showScaled()
{
    auto* label = qobject_cast<QLabel*>(widget());
    if (!label || !image_)
        return;
    const QSize room = label->contentsRect().size();
    if (room.width() <= 0 || room.height() <= 0) {
        label->setPixmap(QPixmap::fromImage(*image_));
        return;
    }
    const qreal density = label->devicePixelRatioF();
    QImage scaled = image_->scaled(room * density, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(density);
    label->setPixmap(QPixmap::fromImage(scaled));
}

BOOL NSImageView::hasImage() const { return image_ != nullptr; }
