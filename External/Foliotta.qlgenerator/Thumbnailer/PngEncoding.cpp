#include "PngEncoding.h"

#include <png.h>

#include <cstdint>
#include <vector>

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void FlushNothing(png_structp) {}

bool IsOpaque(const unsigned char* pixels, int width, int height, int stride)
{
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(pixels + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x)
            if ((row[x] >> 24) != 0xFF)
                return false;
    }
    return true;
}

// One row of cairo's premultiplied native-endian ARGB as straight RGB or RGBA bytes.
void ConvertRow(const uint32_t* source, int width, bool withAlpha, unsigned char* out)
{
    for (int x = 0; x < width; ++x) {
        const uint32_t pixel = source[x];
        const uint32_t alpha = pixel >> 24;
        auto straight = [alpha](uint32_t channel) {
            return static_cast<unsigned char>(alpha == 0 ? 0 : alpha == 255 ? channel : (channel * 255 + alpha / 2) / alpha);
        };
        *out++ = straight((pixel >> 16) & 0xFF);
        *out++ = straight((pixel >> 8) & 0xFF);
        *out++ = straight(pixel & 0xFF);
        if (withAlpha)
            *out++ = static_cast<unsigned char>(alpha);
    }
}

}  // namespace

std::optional<std::string> EncodePng(cairo_surface_t* picture)
{
    cairo_surface_flush(picture);
    if (cairo_surface_get_type(picture) != CAIRO_SURFACE_TYPE_IMAGE || cairo_image_surface_get_format(picture) != CAIRO_FORMAT_ARGB32)
        return std::nullopt;
    const int width = cairo_image_surface_get_width(picture);
    const int height = cairo_image_surface_get_height(picture);
    const int stride = cairo_image_surface_get_stride(picture);
    const unsigned char* pixels = cairo_image_surface_get_data(picture);
    if (pixels == nullptr || width <= 0 || height <= 0)
        return std::nullopt;
    const bool withAlpha = !IsOpaque(pixels, width, height, stride);

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return std::nullopt;
    }
    std::string bytes;
    std::vector<unsigned char> row(static_cast<size_t>(width) * (withAlpha ? 4 : 3));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return std::nullopt;
    }
    png_set_write_fn(png, &bytes, AppendToString, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        ConvertRow(reinterpret_cast<const uint32_t*>(pixels + static_cast<ptrdiff_t>(y) * stride), width, withAlpha, row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}
