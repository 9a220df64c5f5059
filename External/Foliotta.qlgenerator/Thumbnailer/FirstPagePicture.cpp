#include "FirstPagePicture.h"

#include "ConvertInterfacePtr.h"

#include <CoreGraphics/CoreGraphics.h>

#include <cstdint>
#include <vector>

using namespace QUARK::COM;
using namespace QUARK::QXPMETADATA;

namespace {

// A name that is not UTF-8 is read as Mac OS Roman, as qxpextract reads it; the library opens the
// file of those very bytes.
std::vector<UniChar> UTF16Path(const std::string& path)
{
    std::vector<UniChar> units;
    const auto* bytes = reinterpret_cast<const UInt8*>(path.data());
    const auto length = static_cast<CFIndex>(path.size());
    CFStringRef string = CFStringCreateWithBytes(kCFAllocatorDefault, bytes, length, kCFStringEncodingUTF8, false);
    if (string == nullptr)
        string = CFStringCreateWithBytes(kCFAllocatorDefault, bytes, length, kCFStringEncodingMacRoman, false);
    if (string == nullptr)
        return units;
    units.resize(static_cast<size_t>(CFStringGetLength(string)) + 1, 0);
    CFStringGetCharacters(string, CFRangeMake(0, CFStringGetLength(string)), units.data());
    CFRelease(string);
    return units;
}

// The library's straight RGBA rows as a cairo surface (premultiplied, native-endian ARGB).
CairoSurface SurfaceFromImage(CGImageRef image)
{
    const int width = static_cast<int>(CGImageGetWidth(image));
    const int height = static_cast<int>(CGImageGetHeight(image));
    const std::vector<UInt8> rgba = CGImageCopyStraightRGBA(image);
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * height * 4)
        return nullptr;
    CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    unsigned char* rows = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(rows + static_cast<ptrdiff_t>(y) * stride);
        const UInt8* source = rgba.data() + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, source += 4) {
            const uint32_t alpha = source[3];
            auto premultiplied = [alpha](uint32_t channel) { return (channel * alpha + 127) / 255; };
            row[x] = alpha << 24 | premultiplied(source[0]) << 16 | premultiplied(source[1]) << 8 | premultiplied(source[2]);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

}  // namespace

CairoSurface DrawFirstPage(const std::string& documentPath, int longerSide)
{
    TInterfacePtr<IQXPExtractInfo> request;
    TInterfacePtr<IQXPMetaDataReader> reader;
    TInterfacePtr<IQXPDictionary> dictionary;
    TInterfacePtr<IQXPDataBase> value;
    TInterfacePtr<IQXPDataImage> picture;

    const std::vector<UniChar> path = UTF16Path(documentPath);
    if (path.empty() || CreateIQXPExtractInfo(request, kQXPEntryThumbnail, static_cast<uint32_t>(longerSide), 0, 0) != 0 ||
        CreateQXPMetaDataReader(path.data(), reader) != 0 || reader.IsEmpty())
        return nullptr;
    if (reader->ExtractMetaData(request.Get(), dictionary) != 0 || dictionary.IsEmpty())
        return nullptr;
    if (dictionary->GetValue(kQXPEntryThumbnail, value) != 0 || !ConvertInterfacePtr(value, picture))
        return nullptr;
    CGImageRef image = picture->GetCGImage();
    return image != nullptr ? SurfaceFromImage(image) : nullptr;
}
