#include "FirstPagePicture.h"

#include <QXPMetaData.h>

#include <CoreGraphics/CoreGraphics.h>

#include <cstring>
#include <vector>

using namespace QUARK::COM;
using namespace QUARK::QXPMETADATA;

namespace {

// The library's published kind of its image values.
constexpr GUID kImageKind = {0x6B4CF444, 0x12C6, 0x4E8A, {0xB7, 0xC1, 0x7D, 0xEA, 0x38, 0x70, 0x9C, 0x85}};

// The page picture the value holds, when it is an image value.
bool TakeImage(const TInterfacePtr<IQXPDataBase>& value, TInterfacePtr<IQXPDataImage>& picture)
{
    const GUID* kind = value.IsEmpty() ? nullptr : value->GetTypeGUID();
    if (kind == nullptr || std::memcmp(kind, &kImageKind, sizeof(GUID)) != 0)
        return false;
    value->AddRef();
    picture.Attach(static_cast<IQXPDataImage*>(value.Get()));
    return true;
}

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

// The library's picture as a cairo surface. It comes in cairo's own layout (premultiplied,
// native-endian ARGB), so its rows are copied as they are.
CairoSurface SurfaceFromImage(CGImageRef image)
{
    const int width = static_cast<int>(CGImageGetWidth(image));
    const int height = static_cast<int>(CGImageGetHeight(image));
    const size_t bytesPerRow = CGImageGetBytesPerRow(image);
    if (width <= 0 || height <= 0 || CGImageGetBitsPerPixel(image) != 32 ||
        CGImageGetBitmapInfo(image) != (kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little))
        return nullptr;
    CFDataRef pixels = CGDataProviderCopyData(CGImageGetDataProvider(image));
    if (pixels == nullptr)
        return nullptr;
    CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    const bool whole = static_cast<size_t>(CFDataGetLength(pixels)) >= bytesPerRow * height;
    if (whole && cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS) {
        unsigned char* rows = cairo_image_surface_get_data(surface.get());
        const int stride = cairo_image_surface_get_stride(surface.get());
        for (int y = 0; y < height; ++y)
            std::memcpy(rows + static_cast<ptrdiff_t>(y) * stride, CFDataGetBytePtr(pixels) + y * bytesPerRow,
                        static_cast<size_t>(width) * 4);
        cairo_surface_mark_dirty(surface.get());
    }
    CFRelease(pixels);
    return whole && cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS ? std::move(surface) : nullptr;
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
    if (dictionary->GetValue(kQXPEntryThumbnail, value) != 0 || !TakeImage(value, picture))
        return nullptr;
    CGImageRef image = picture->GetCGImage();
    return image != nullptr ? SurfaceFromImage(image) : nullptr;
}
