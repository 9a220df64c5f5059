#include <CoreGraphics/CGImage.h>

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

struct CGImage {
    std::atomic<int> references{1};
    size_t width, height, bitsPerPixel, bytesPerRow;
    CGBitmapInfo bitmapInfo;
    CGDataProviderRef provider;
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

static size_t SizeOf(CGDataProviderRef provider) {
    return provider->data != nullptr ? static_cast<size_t>(CFDataGetLength(provider->data)) : provider->size;
}

CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel, size_t bytesPerRow,
                         CGColorSpaceRef, CGBitmapInfo bitmapInfo, CGDataProviderRef provider, const CGFloat*, bool,
                         CGColorRenderingIntent) {
    if (provider == nullptr || width == 0 || height == 0 || bitsPerComponent != 8) return nullptr;
    if (bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
    if (bytesPerRow < width * bitsPerPixel / 8) return nullptr;
    if (bitsPerPixel == 24 && (bitmapInfo & kCGBitmapAlphaInfoMask) != kCGImageAlphaNone) return nullptr;
    if (SizeOf(provider) < bytesPerRow * height) return nullptr;
    return new CGImage{{1}, width, height, bitsPerPixel, bytesPerRow, bitmapInfo, CGDataProviderRetain(provider)};
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
CGDataProviderRef CGImageGetDataProvider(CGImageRef image) { return image ? image->provider : nullptr; }

CFDataRef CGDataProviderCopyData(CGDataProviderRef provider) {
    if (provider == nullptr) return nullptr;
    const UInt8* bytes = provider->data != nullptr ? CFDataGetBytePtr(provider->data) : provider->bytes;
    return CFDataCreate(kCFAllocatorDefault, bytes, static_cast<CFIndex>(SizeOf(provider)));
}
