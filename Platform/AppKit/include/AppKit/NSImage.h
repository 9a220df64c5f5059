// A picture read from a file (PNG, JPEG and what else Qt reads).
#pragma once

#include <Foundation/Foundation.h>

#include <memory>

class QImage;

class NSImage : public NSObject {
public:
    ~NSImage() override;
    // nil when the file is missing or not a picture.
    static std::unique_ptr<NSImage> imageWithContentsOfFile(const NSString& path);
    NSInteger width() const;
    NSInteger height() const;
    const QImage& qImage() const { return *image_; }

private:
    explicit NSImage(std::unique_ptr<QImage> image);
    std::unique_ptr<QImage> image_;
};
