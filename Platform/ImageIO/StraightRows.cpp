#include "StraightRows.h"

#include <algorithm>

namespace {

StraightRows::Layout LayoutOf(CGBitmapInfo bitmapInfo, size_t bitsPerPixel)
{
    const UInt32 alphaInfo = bitmapInfo & kCGBitmapAlphaInfoMask;
    const bool littleEndian32 = (bitmapInfo & kCGBitmapByteOrderMask) == kCGBitmapByteOrder32Little;
    const bool alphaFirst = alphaInfo == kCGImageAlphaPremultipliedFirst || alphaInfo == kCGImageAlphaFirst ||
                            alphaInfo == kCGImageAlphaNoneSkipFirst;
    StraightRows::Layout layout;
    layout.bytesPerPixel = bitsPerPixel / 8;
    layout.hasAlpha = alphaInfo != kCGImageAlphaNone && alphaInfo != kCGImageAlphaNoneSkipLast &&
                      alphaInfo != kCGImageAlphaNoneSkipFirst;
    layout.premultiplied = alphaInfo == kCGImageAlphaPremultipliedLast || alphaInfo == kCGImageAlphaPremultipliedFirst;
    if (layout.bytesPerPixel == 4 && alphaFirst) layout.a = 0, layout.r = 1, layout.g = 2, layout.b = 3;
    if (layout.bytesPerPixel == 4 && littleEndian32)
        layout.r = 3 - layout.r, layout.g = 3 - layout.g, layout.b = 3 - layout.b, layout.a = 3 - layout.a;
    return layout;
}

// Whether the layout is cairo's: 32-bit little-endian premultiplied ARGB, stored B, G, R, A. Pages
// come in it, so it gets loops with fixed offsets, which the compiler makes several times faster.
bool IsBGRA(const StraightRows::Layout& layout)
{
    return layout.bytesPerPixel == 4 && layout.hasAlpha && layout.b == 0 && layout.g == 1 && layout.r == 2 &&
           layout.a == 3;
}

void Unpremultiply(UInt8* rgb, UInt8 alpha)
{
    if (alpha == 0 || alpha == 255) return;
    for (int c = 0; c < 3; ++c) rgb[c] = static_cast<UInt8>(std::min(255, (rgb[c] * 255 + alpha / 2) / alpha));
}

template <size_t BytesPerPixel, size_t R, size_t G, size_t B, size_t A, size_t Channels>
void CopyRow(const UInt8* pixel, UInt8* out, size_t width, bool premultiplied)
{
    for (size_t x = 0; x < width; ++x, pixel += BytesPerPixel, out += Channels) {
        const UInt8 alpha = pixel[A];
        out[0] = pixel[R], out[1] = pixel[G], out[2] = pixel[B];
        if constexpr (Channels == 4) out[3] = alpha;
        if (premultiplied && alpha != 255) Unpremultiply(out, alpha);
    }
}

}  // namespace

StraightRows::StraightRows(CGImageRef image)
    : width_(CGImageGetWidth(image)), height_(CGImageGetHeight(image)), bytesPerRow_(CGImageGetBytesPerRow(image)),
      layout_(LayoutOf(CGImageGetBitmapInfo(image), CGImageGetBitsPerPixel(image)))
{
    data_ = CGDataProviderCopyData(CGImageGetDataProvider(image));
    if (data_ != nullptr && static_cast<size_t>(CFDataGetLength(data_)) >= bytesPerRow_ * height_)
        pixels_ = CFDataGetBytePtr(data_);
}

StraightRows::~StraightRows()
{
    if (data_ != nullptr) CFRelease(data_);
}

bool StraightRows::opaque() const
{
    if (!layout_.hasAlpha) return true;
    for (size_t y = 0; y < height_; ++y) {
        const UInt8* alpha = row(y) + layout_.a;
        bool opaque = true;
        if (IsBGRA(layout_)) {
            for (size_t x = 0; x < width_; ++x) opaque &= alpha[x * 4] == 255;
        } else {
            for (size_t x = 0; x < width_; ++x) opaque &= alpha[x * layout_.bytesPerPixel] == 255;
        }
        if (!opaque) return false;
    }
    return true;
}

void StraightRows::copyRow(size_t y, UInt8* out, size_t channels) const
{
    if (y >= height_ || (channels != 3 && channels != 4)) return;
    const UInt8* pixel = row(y);
    if (IsBGRA(layout_)) {
        if (channels == 3) CopyRow<4, 2, 1, 0, 3, 3>(pixel, out, width_, layout_.premultiplied);
        else CopyRow<4, 2, 1, 0, 3, 4>(pixel, out, width_, layout_.premultiplied);
        return;
    }
    for (size_t x = 0; x < width_; ++x, pixel += layout_.bytesPerPixel, out += channels) {
        const UInt8 alpha = layout_.hasAlpha ? pixel[layout_.a] : 255;
        out[0] = pixel[layout_.r], out[1] = pixel[layout_.g], out[2] = pixel[layout_.b];
        if (channels == 4) out[3] = alpha;
        if (layout_.premultiplied) Unpremultiply(out, alpha);
    }
}
