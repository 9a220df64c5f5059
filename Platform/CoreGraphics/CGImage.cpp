#include "CGImage.h"

#include <atomic>
#include <algorithm>
#include <cstring>

struct CGColorSpace {
    std::atomic<int> references{1};
};

struct CGDataProvider {
    std::atomic<int> references{1};
    CFDataRef data;
};

struct CGImage {
    std::atomic<int> references{1};
    size_t width, height, bitsPerPixel, bytesPerRow;
    CGBitmapInfo bitmapInfo;
    std::vector<UInt8> bytes;
};

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() { return new CGColorSpace(); }

void CGColorSpaceRelease(CGColorSpaceRef space) {
    if (space != nullptr && space->references.fetch_sub(1) == 1) delete space;
}

CGDataProviderRef CGDataProviderCreateWithCFData(CFDataRef data) {
    if (data == nullptr) return nullptr;
    return new CGDataProvider{{1}, static_cast<CFDataRef>(CFRetain(data))};
}

void CGDataProviderRelease(CGDataProviderRef provider) {
    if (provider == nullptr || provider->references.fetch_sub(1) != 1) return;
    CFRelease(provider->data);
    delete provider;
}

CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel, size_t bytesPerRow,
                         CGColorSpaceRef, CGBitmapInfo bitmapInfo, CGDataProviderRef provider, const CGFloat*, bool,
                         CGColorRenderingIntent) {
    if (provider == nullptr || width == 0 || height == 0 || bitsPerComponent != 8) return nullptr;
    if (bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
    if (bytesPerRow < width * bitsPerPixel / 8) return nullptr;
    if (bitsPerPixel == 24 && (bitmapInfo & kCGBitmapAlphaInfoMask) != kCGImageAlphaNone) return nullptr;
    if (static_cast<size_t>(CFDataGetLength(provider->data)) < bytesPerRow * height) return nullptr;
    auto* image = new CGImage{{1}, width, height, bitsPerPixel, bytesPerRow, bitmapInfo, {}};
    const UInt8* bytes = CFDataGetBytePtr(provider->data);
    image->bytes.assign(bytes, bytes + bytesPerRow * height);
    return image;
}

CGImageRef CGImageRetain(CGImageRef image) {
    if (image != nullptr) image->references.fetch_add(1);
    return image;
}

void CGImageRelease(CGImageRef image) {
    if (image != nullptr && image->references.fetch_sub(1) == 1) delete image;
}

size_t CGImageGetWidth(CGImageRef image) { return image ? image->width : 0; }
size_t CGImageGetHeight(CGImageRef image) { return image ? image->height : 0; }
size_t CGImageGetBitsPerPixel(CGImageRef image) { return image ? image->bitsPerPixel : 0; }
size_t CGImageGetBytesPerRow(CGImageRef image) { return image ? image->bytesPerRow : 0; }
CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image) { return image ? image->bitmapInfo : 0; }

std::vector<UInt8> CGImageCopyStraightRGBA(CGImageRef image) {
    std::vector<UInt8> rgba;
    if (image == nullptr) return rgba;
    rgba.resize(image->width * image->height * 4);
    const UInt32 alphaInfo = image->bitmapInfo & kCGBitmapAlphaInfoMask;
    const bool littleEndian32 = (image->bitmapInfo & kCGBitmapByteOrderMask) == kCGBitmapByteOrder32Little;
    const bool alphaFirst = alphaInfo == kCGImageAlphaPremultipliedFirst || alphaInfo == kCGImageAlphaFirst ||
                            alphaInfo == kCGImageAlphaNoneSkipFirst;
    const bool hasAlpha = alphaInfo != kCGImageAlphaNone && alphaInfo != kCGImageAlphaNoneSkipLast &&
                          alphaInfo != kCGImageAlphaNoneSkipFirst;
    const bool premultiplied =
        alphaInfo == kCGImageAlphaPremultipliedLast || alphaInfo == kCGImageAlphaPremultipliedFirst;
    const size_t bytesPerPixel = image->bitsPerPixel / 8;
    // Where each of red, green, blue and alpha sits within a pixel's bytes.
    size_t r = 0, g = 1, b = 2, a = 3;
    if (bytesPerPixel == 4 && alphaFirst) a = 0, r = 1, g = 2, b = 3;
    if (bytesPerPixel == 4 && littleEndian32) r = 3 - r, g = 3 - g, b = 3 - b, a = 3 - a;
    UInt8* out = rgba.data();
    for (size_t y = 0; y < image->height; ++y) {
        const UInt8* pixel = image->bytes.data() + y * image->bytesPerRow;
        for (size_t x = 0; x < image->width; ++x, pixel += bytesPerPixel, out += 4) {
            const UInt8 alpha = hasAlpha ? pixel[a] : 255;
            out[0] = pixel[r], out[1] = pixel[g], out[2] = pixel[b], out[3] = alpha;
            if (premultiplied && alpha != 0 && alpha != 255)
                for (int c = 0; c < 3; ++c) out[c] = static_cast<UInt8>(std::min(255, (out[c] * 255 + alpha / 2) / alpha));
        }
    }
    return rgba;
}
