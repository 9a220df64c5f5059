#include <ImageIO/CGImageDestination.h>

#include <CoreServices/CoreServices.h>

#include <png.h>

#include <vector>

#include "StraightRows.h"

// The platform hands out destinations as CF objects; here the object header makes CFRelease work.
#include <CoreFoundation/CFObject.h>

struct CGImageDestination : __CFObject {
    CFMutableDataRef output = nullptr;
    size_t capacity = 0;
    std::vector<CGImageRef> images;
    bool finalized = false;
    int pngFilter = PNG_FILTER_NONE;
    bool keepColour = false;
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

void CGImageDestinationSetPNGWriting(CGImageDestinationRef idst, int compressionFilter, bool keepColour) {
    if (idst == nullptr || idst->finalized) return;
    idst->pngFilter = compressionFilter == IMAGEIO_PNG_FILTER_SUB ? PNG_FILTER_SUB : PNG_FILTER_NONE;
    idst->keepColour = keepColour;
}

static void AppendToBuffer(png_structp png, png_bytep bytes, png_size_t length) {
    auto* output = static_cast<CFMutableDataRef>(png_get_io_ptr(png));
    CFDataAppendBytes(output, bytes, static_cast<CFIndex>(length));
}

static void FlushNothing(png_structp) {}

// libpng reports errors by jumping back here, so nothing that lives across the jump is kept in this frame.
// The rows are converted one at a time into row.
static bool WritePNG(CFMutableDataRef output, const StraightRows& image, size_t channels, int filter, UInt8* row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    const auto height = static_cast<png_uint_32>(image.height());
    png_set_write_fn(png, output, AppendToBuffer, FlushNothing);
    const size_t width = image.width();
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), height, 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Previews are made on demand and thrown away soon: favour speed over the last few percent of
    // size. No row filter unless asked for: pages are mostly flat paper and line art, which deflate
    // packs as well unfiltered (the samples come out 5% smaller than with the cheapest filter),
    // and filtering costs a pass over every row.
    png_set_compression_level(png, 1);
    // A smaller match index than zlib's default (a sixteenth of it): less to clear and fill per
    // picture. On the samples: a fifth fewer instructions for the 512-pixel pages, a tenth for
    // 256-pixel thumbnails, and sizes within 1% either way.
    png_set_compression_mem_level(png, 4);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filter);
    png_write_info(png, info);
    for (png_uint_32 y = 0; y < height; ++y) {
        image.copyRow(y, row, channels == 1 ? 3 : channels);
        if (channels == 1)
            for (size_t x = 0; x < width; ++x) row[x] = row[3 * x];
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Whether every pixel of an opaque picture is a grey, found by its first coloured row.
static bool IsGrey(const StraightRows& image, UInt8* row) {
    const size_t width = image.width();
    for (size_t y = 0; y < image.height(); ++y) {
        image.copyRow(y, row, 3);
        for (size_t x = 0; x < width; ++x)
            if (row[3 * x] != row[3 * x + 1] || row[3 * x] != row[3 * x + 2]) return false;
    }
    return true;
}

static bool EncodePNG(const CGImageDestination& destination, CGImageRef image) {
    const StraightRows rows(image);
    if (!rows.readable()) return false;
    // A picture without transparency is written without its alpha channel, and one in greys only
    // (black text on white paper) as a grey picture: a quarter, or two thirds, less to compress for
    // the same pixels.
    std::vector<UInt8> row(rows.width() * 4);
    const size_t channels = !rows.opaque() ? 4 : !destination.keepColour && IsGrey(rows, row.data()) ? 1 : 3;
    return WritePNG(destination.output, rows, channels, destination.pngFilter, row.data());
}

bool CGImageDestinationFinalize(CGImageDestinationRef idst) {
    if (idst == nullptr || idst->finalized || idst->images.empty()) return false;
    idst->finalized = true;
    // A PNG file holds one picture: the first image added is the one written.
    return EncodePNG(*idst, idst->images.front());
}
