// Bitmap images of 8-bit RGB(A) pixels, enough for what the extractor draws and encodes.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

// What the CoreGraphics library exports; the rest of it stays inside.
#define CG_EXTERN extern __attribute__((visibility("default")))

typedef struct CGColorSpace* CGColorSpaceRef;
typedef struct CGDataProvider* CGDataProviderRef;
typedef struct CGImage* CGImageRef;

typedef UInt32 CGBitmapInfo;
enum : UInt32 {
    kCGImageAlphaNone = 0,
    kCGImageAlphaPremultipliedLast = 1,
    kCGImageAlphaPremultipliedFirst = 2,
    kCGImageAlphaLast = 3,
    kCGImageAlphaFirst = 4,
    kCGImageAlphaNoneSkipLast = 5,
    kCGImageAlphaNoneSkipFirst = 6,
    kCGBitmapAlphaInfoMask = 0x1F,
    kCGBitmapByteOrderDefault = 0,
    kCGBitmapByteOrder32Little = 2 << 12,
    kCGBitmapByteOrder32Big = 4 << 12,
    kCGBitmapByteOrderMask = 0x7000,
};
typedef int CGColorRenderingIntent;
enum { kCGRenderingIntentDefault = 0 };

CG_EXTERN CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
CG_EXTERN void CGColorSpaceRelease(CGColorSpaceRef space);

// A provider keeps its bytes alive for every image made from it: a CF data object it retains, or
// memory it hands back through releaseData (with info) when the last image is gone.
typedef void (*CGDataProviderReleaseDataCallback)(void* info, const void* data, size_t size);
CG_EXTERN CGDataProviderRef CGDataProviderCreateWithCFData(CFDataRef data);
CG_EXTERN CGDataProviderRef CGDataProviderCreateWithData(void* info, const void* data, size_t size,
                                               CGDataProviderReleaseDataCallback releaseData);
CG_EXTERN CGDataProviderRef CGDataProviderRetain(CGDataProviderRef provider);
CG_EXTERN void CGDataProviderRelease(CGDataProviderRef provider);
// A copy of the provider's bytes, released by the caller.
CG_EXTERN CFDataRef CGDataProviderCopyData(CGDataProviderRef provider);

// Supported: 8 bits per component, 24 or 32 bits per pixel, byte order default or 32-bit big or
// little endian. Anything else gives NULL. The image reads its pixels from the provider, which it
// retains, without copying them.
CG_EXTERN CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel,
                         size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo,
                         CGDataProviderRef provider, const CGFloat* decode, bool shouldInterpolate,
                         CGColorRenderingIntent intent);
CG_EXTERN CGImageRef CGImageRetain(CGImageRef image);
CG_EXTERN void CGImageRelease(CGImageRef image);
CG_EXTERN size_t CGImageGetWidth(CGImageRef image);
CG_EXTERN size_t CGImageGetHeight(CGImageRef image);
CG_EXTERN size_t CGImageGetBitsPerPixel(CGImageRef image);
CG_EXTERN size_t CGImageGetBytesPerRow(CGImageRef image);
CG_EXTERN CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image);
// The provider the image reads its pixels from; not retained for the caller.
CG_EXTERN CGDataProviderRef CGImageGetDataProvider(CGImageRef image);
