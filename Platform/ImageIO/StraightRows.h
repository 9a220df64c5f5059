// An image's pixels read a row at a time as straight (not premultiplied) RGB or RGBA, whatever
// the image's own layout: what the encoders write.
#pragma once

#include <CoreGraphics/CoreGraphics.h>

#include <cstddef>

class StraightRows {
public:
    explicit StraightRows(CGImageRef image);
    ~StraightRows();
    StraightRows(const StraightRows&) = delete;
    StraightRows& operator=(const StraightRows&) = delete;

    size_t width() const { return width_; }
    size_t height() const { return height_; }
    // False when the image's pixels could not be read.
    bool readable() const { return pixels_ != nullptr; }
    // True when every pixel is fully opaque (also for images without alpha).
    bool opaque() const;
    // Row y (0 at the top) into out: RGBA when channels is 4, RGB when it is 3; out holds
    // width * channels bytes.
    void copyRow(size_t y, UInt8* out, size_t channels) const;

    // Where red, green, blue and alpha sit within a pixel's bytes.
    struct Layout {
        size_t bytesPerPixel = 4;
        size_t r = 0, g = 1, b = 2, a = 3;
        bool hasAlpha = true, premultiplied = false;
    };

private:
    const UInt8* row(size_t y) const { return pixels_ + y * bytesPerRow_; }

    CFDataRef data_ = nullptr;
    const UInt8* pixels_ = nullptr;
    size_t width_ = 0, height_ = 0, bytesPerRow_ = 0;
    Layout layout_;
};
