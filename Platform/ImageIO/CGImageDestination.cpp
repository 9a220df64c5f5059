#include "CGImageDestination.h"

#include <CoreServices/CoreServices.h>

#include <png.h>

#include <vector>

// The platform hands out destinations as CF objects; here the object header makes CFRelease work.
#include <CoreFoundation/CFObject.h>

struct CGImageDestination : __CFObject {
    CFMutableDataRef output = nullptr;
    size_t capacity = 0;
    std::vector<CGImageRef> images;
    bool finalized = false;
    ~CGImageDestination() override {
        for (CGImageRef image : images) CGImageRelease(image);
        CFRelease(output);
    }
};

CGImageDestinationRef CGImageDestinationCreateWithData(CFMutableDataRef data, CFStringRef type, size_t count,
                                                       CFDictionaryRef) {
    if (data == nullptr || type == nullptr || count == 0) return nullptr;
    if (CFStringCompare(type, kUTTypePNG, 0) != kCFCompareEqualTo) return nullptr;
    auto* destination = new CGImageDestination();
    destination->output = static_cast<CFMutableDataRef>(const_cast<void*>(CFRetain(data)));
    destination->capacity = count;
    return destination;
}

void CGImageDestinationAddImage(CGImageDestinationRef idst, CGImageRef image, CFDictionaryRef) {
    if (idst == nullptr || image == nullptr || idst->finalized || idst->images.size() >= idst->capacity) return;
    idst->images.push_back(CGImageRetain(image));
}

static void AppendToBuffer(png_structp png, png_bytep bytes, png_size_t length) {
    auto* output = static_cast<CFMutableDataRef>(png_get_io_ptr(png));
    CFDataAppendBytes(output, bytes, static_cast<CFIndex>(length));
}

static void FlushNothing(png_structp) {}

// A picture without transparency is written without its alpha channel: a quarter less to compress.
static size_t DropAlphaIfOpaque(std::vector<UInt8>& rgba) {
    for (size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] != 255) return 4;
    size_t out = 0;
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[out++] = rgba[i];
        rgba[out++] = rgba[i + 1];
        rgba[out++] = rgba[i + 2];
    }
    rgba.resize(out);
    return 3;
}

// libpng reports errors by jumping back here, so nothing that lives across the jump is kept in this frame.
static bool WritePNG(CFMutableDataRef output, png_uint_32 width, png_uint_32 height, int colorType, png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, output, AppendToBuffer, FlushNothing);
    png_set_IHDR(png, info, width, height, 8, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // Previews are made on demand and thrown away soon: favour speed over the last few percent of
    // size. One cheap row filter instead of trying all five on every row.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

static bool EncodePNG(CGImageRef image, CFMutableDataRef output) {
    std::vector<UInt8> pixels = CGImageCopyStraightRGBA(image);
    const size_t channels = DropAlphaIfOpaque(pixels);
    const png_uint_32 width = static_cast<png_uint_32>(CGImageGetWidth(image));
    const png_uint_32 height = static_cast<png_uint_32>(CGImageGetHeight(image));
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + static_cast<size_t>(y) * width * channels;
    return WritePNG(output, width, height, channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, rows.data());
}

bool CGImageDestinationFinalize(CGImageDestinationRef idst) {
    if (idst == nullptr || idst->finalized || idst->images.empty()) return false;
    idst->finalized = true;
    // A PNG file holds one picture: the first image added is the one written.
    return EncodePNG(idst->images.front(), idst->output);
}
