#include "PngEncoding.h"

#include <CoreServices/CoreServices.h>
#include <ImageIO/ImageIO.h>

std::optional<std::string> EncodePng(cairo_surface_t* picture)
{
    cairo_surface_flush(picture);
    if (cairo_surface_get_type(picture) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(picture) != CAIRO_FORMAT_ARGB32)
        return std::nullopt;
    const int width = cairo_image_surface_get_width(picture);
    const int height = cairo_image_surface_get_height(picture);
    const int stride = cairo_image_surface_get_stride(picture);
    const unsigned char* pixels = cairo_image_surface_get_data(picture);
    if (pixels == nullptr || width <= 0 || height <= 0)
        return std::nullopt;

    // cairo's premultiplied native-endian ARGB, read in place: the surface outlives the image.
    CGDataProviderRef provider =
        CGDataProviderCreateWithData(nullptr, pixels, static_cast<size_t>(stride) * height, nullptr);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGImageRef image = CGImageCreate(static_cast<size_t>(width), static_cast<size_t>(height), 8, 32,
                                     static_cast<size_t>(stride), space,
                                     kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little, provider, nullptr,
                                     false, kCGRenderingIntentDefault);
    CGColorSpaceRelease(space);
    CGDataProviderRelease(provider);
    if (image == nullptr)
        return std::nullopt;

    CFMutableDataRef bytes = CFDataCreateMutable(kCFAllocatorDefault, 0);
    CGImageDestinationRef destination = CGImageDestinationCreateWithData(bytes, kUTTypePNG, 1, nullptr);
    bool encoded = false;
    if (destination != nullptr) {
        CGImageDestinationSetPNGWriting(destination, IMAGEIO_PNG_FILTER_NONE, true);
        CGImageDestinationAddImage(destination, image, nullptr);
        encoded = CGImageDestinationFinalize(destination);
        CFRelease(destination);
    }
    CGImageRelease(image);
    std::optional<std::string> png;
    if (encoded)
        png.emplace(reinterpret_cast<const char*>(CFDataGetBytePtr(bytes)),
                    static_cast<size_t>(CFDataGetLength(bytes)));
    CFRelease(bytes);
    return png;
}
