#include <AppKit/NSImage.h>

#include <QImage>

NSImage::NSImage(std::unique_ptr<QImage> image) : image_(std::move(image)) {}
NSImage::~NSImage() = default;

std::unique_ptr<NSImage> NSImage::imageWithContentsOfFile(const NSString& path)
{
    auto image = std::make_unique<QImage>();
    if (path.utf8().empty() || !image->load(QString::fromUtf8(path.UTF8String())) || image->isNull())
        return nullptr;
    return std::unique_ptr<NSImage>(new NSImage(std::move(image)));
}

NSInteger NSImage::width() const { return image_->width(); }
NSInteger NSImage::height() const { return image_->height(); }
