#include <CoreGraphics/CGImage.h>

#include <algorithm>
#include <atomic>

struct CGColorSpace {
    std::atomic<int> references{1};
};

struct CGDataProvider {
    std::atomic<int> references{1};
    CFDataRef data = nullptr;  // retained and read at each use, or null when bytes and size hold the memory
    const UInt8* bytes = nullptr;
    size_t size = 0;
    void* info = nullptr;
    CGDataProviderReleaseDataCallback releaseData = nullptr;
};

// Where red, green, blue and alpha sit within a pixel's bytes, from the bitmap info.
struct PixelLayout {
    size_t bytesPerPixel = 4;
    size_t r = 0, g = 1, b = 2, a = 3;
    bool hasAlpha = true, premultiplied = false;
};

struct CGImage {
    std::atomic<int> references{1};
    size_t width, height, bitsPerPixel, bytesPerRow;
    CGBitmapInfo bitmapInfo;
    CGDataProviderRef provider;
    PixelLayout layout;
};

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() { return new CGColorSpace(); }

void CGColorSpaceRelease(CGColorSpaceRef space) {
    if (space != nullptr && space->references.fetch_sub(1) == 1) delete space;
}

CGDataProviderRef CGDataProviderCreateWithCFData(CFDataRef data) {
    if (data == nullptr) return nullptr;
    auto* provider = new CGDataProvider();
    provider->data = static_cast<CFDataRef>(CFRetain(data));
    return provider;
}

CGDataProviderRef CGDataProviderCreateWithData(void* info, const void* data, size_t size,
                                               CGDataProviderReleaseDataCallback releaseData) {
    if (data == nullptr && size != 0) return nullptr;
    auto* provider = new CGDataProvider();
    provider->bytes = static_cast<const UInt8*>(data);
    provider->size = size;
    provider->info = info;
    provider->releaseData = releaseData;
    return provider;
}

CGDataProviderRef CGDataProviderRetain(CGDataProviderRef provider) {
    if (provider != nullptr) provider->references.fetch_add(1);
    return provider;
}

void CGDataProviderRelease(CGDataProviderRef provider) {
    if (provider == nullptr || provider->references.fetch_sub(1) != 1) return;
    if (provider->data != nullptr) CFRelease(provider->data);
    if (provider->releaseData != nullptr) provider->releaseData(provider->info, provider->bytes, provider->size);
    delete provider;
}

static const UInt8* BytesOf(CGDataProviderRef provider) {
    return provider->data != nullptr ? CFDataGetBytePtr(provider->data) : provider->bytes;
}

static size_t SizeOf(CGDataProviderRef provider) {
    return provider->data != nullptr ? static_cast<size_t>(CFDataGetLength(provider->data)) : provider->size;
}

static PixelLayout LayoutOf(CGBitmapInfo bitmapInfo, size_t bitsPerPixel) {
    const UInt32 alphaInfo = bitmapInfo & kCGBitmapAlphaInfoMask;
    const bool littleEndian32 = (bitmapInfo & kCGBitmapByteOrderMask) == kCGBitmapByteOrder32Little;
    const bool alphaFirst = alphaInfo == kCGImageAlphaPremultipliedFirst || alphaInfo == kCGImageAlphaFirst ||
                            alphaInfo == kCGImageAlphaNoneSkipFirst;
    PixelLayout layout;
    layout.bytesPerPixel = bitsPerPixel / 8;
    layout.hasAlpha = alphaInfo != kCGImageAlphaNone && alphaInfo != kCGImageAlphaNoneSkipLast &&
                      alphaInfo != kCGImageAlphaNoneSkipFirst;
    layout.premultiplied = alphaInfo == kCGImageAlphaPremultipliedLast || alphaInfo == kCGImageAlphaPremultipliedFirst;
    if (layout.bytesPerPixel == 4 && alphaFirst) layout.a = 0, layout.r = 1, layout.g = 2, layout.b = 3;
    if (layout.bytesPerPixel == 4 && littleEndian32)
        layout.r = 3 - layout.r, layout.g = 3 - layout.g, layout.b = 3 - layout.b, layout.a = 3 - layout.a;
    return layout;
}

CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel, size_t bytesPerRow,
                         CGColorSpaceRef, CGBitmapInfo bitmapInfo, CGDataProviderRef provider, const CGFloat*, bool,
                         CGColorRenderingIntent) {
    if (provider == nullptr || width == 0 || height == 0 || bitsPerComponent != 8) return nullptr;
    if (bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
    if (bytesPerRow < width * bitsPerPixel / 8) return nullptr;
    if (bitsPerPixel == 24 && (bitmapInfo & kCGBitmapAlphaInfoMask) != kCGImageAlphaNone) return nullptr;
    if (SizeOf(provider) < bytesPerRow * height) return nullptr;
    return new CGImage{{1},       width, height, bitsPerPixel, bytesPerRow, bitmapInfo, CGDataProviderRetain(provider),
                       LayoutOf(bitmapInfo, bitsPerPixel)};
}

CGImageRef CGImageRetain(CGImageRef image) {
    if (image != nullptr) image->references.fetch_add(1);
    return image;
}

void CGImageRelease(CGImageRef image) {
    if (image == nullptr || image->references.fetch_sub(1) != 1) return;
    CGDataProviderRelease(image->provider);
    delete image;
}

size_t CGImageGetWidth(CGImageRef image) { return image ? image->width : 0; }
size_t CGImageGetHeight(CGImageRef image) { return image ? image->height : 0; }
size_t CGImageGetBitsPerPixel(CGImageRef image) { return image ? image->bitsPerPixel : 0; }
size_t CGImageGetBytesPerRow(CGImageRef image) { return image ? image->bytesPerRow : 0; }
CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image) { return image ? image->bitmapInfo : 0; }

static const UInt8* RowBytes(CGImageRef image, size_t y) { return BytesOf(image->provider) + y * image->bytesPerRow; }

// Whether the layout is cairo's: 32-bit little-endian premultiplied ARGB, stored B, G, R, A. Pages
// come in it, so it gets loops with fixed offsets, which the compiler makes several times faster.
static bool IsBGRA(const PixelLayout& layout) {
    return layout.bytesPerPixel == 4 && layout.hasAlpha && layout.b == 0 && layout.g == 1 && layout.r == 2 && layout.a == 3;
}

bool CGImageIsOpaque(CGImageRef image) {
    if (image == nullptr) return false;
    const PixelLayout& layout = image->layout;
    if (!layout.hasAlpha) return true;
    for (size_t y = 0; y < image->height; ++y) {
        const UInt8* alpha = RowBytes(image, y) + layout.a;
        bool opaque = true;
        if (IsBGRA(layout)) {
            for (size_t x = 0; x < image->width; ++x) opaque &= alpha[x * 4] == 255;
        } else {
            for (size_t x = 0; x < image->width; ++x) opaque &= alpha[x * layout.bytesPerPixel] == 255;
        }
        if (!opaque) return false;
    }
    return true;
}

static void Unpremultiply(UInt8* rgb, UInt8 alpha) {
    if (alpha == 0 || alpha == 255) return;
    for (int c = 0; c < 3; ++c) rgb[c] = static_cast<UInt8>(std::min(255, (rgb[c] * 255 + alpha / 2) / alpha));
}

template <size_t BytesPerPixel, size_t R, size_t G, size_t B, size_t A, size_t Channels>
static void CopyRow(const UInt8* pixel, UInt8* out, size_t width, bool hasAlpha, bool premultiplied) {
    for (size_t x = 0; x < width; ++x, pixel += BytesPerPixel, out += Channels) {
        const UInt8 alpha = hasAlpha ? pixel[A] : 255;
        out[0] = pixel[R], out[1] = pixel[G], out[2] = pixel[B];
        if constexpr (Channels == 4) out[3] = alpha;
        if (premultiplied && alpha != 255) Unpremultiply(out, alpha);
    }
}

void CGImageCopyStraightRow(CGImageRef image, size_t y, UInt8* out, size_t channels) {
    if (image == nullptr || y >= image->height || (channels != 3 && channels != 4)) return;
    const PixelLayout& layout = image->layout;
    const UInt8* pixel = RowBytes(image, y);
    if (IsBGRA(layout)) {
        if (channels == 3) CopyRow<4, 2, 1, 0, 3, 3>(pixel, out, image->width, true, layout.premultiplied);
        else CopyRow<4, 2, 1, 0, 3, 4>(pixel, out, image->width, true, layout.premultiplied);
        return;
    }
    for (size_t x = 0; x < image->width; ++x, pixel += layout.bytesPerPixel, out += channels) {
        const UInt8 alpha = layout.hasAlpha ? pixel[layout.a] : 255;
        out[0] = pixel[layout.r], out[1] = pixel[layout.g], out[2] = pixel[layout.b];
        if (channels == 4) out[3] = alpha;
        if (layout.premultiplied) Unpremultiply(out, alpha);
    }
}

std::vector<UInt8> CGImageCopyStraightRGBA(CGImageRef image) {
    std::vector<UInt8> rgba;
    if (image == nullptr) return rgba;
    rgba.resize(image->width * image->height * 4);
    for (size_t y = 0; y < image->height; ++y) CGImageCopyStraightRow(image, y, rgba.data() + y * image->width * 4, 4);
    return rgba;
}
