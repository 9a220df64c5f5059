#include "ExtractionHelpers.h"

#include <cstring>

namespace qxptest {

std::vector<UniChar> UTF16Path(const std::string& utf8) {
    CFStringRef string = CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(utf8.data()),
                                                 static_cast<CFIndex>(utf8.size()), kCFStringEncodingUTF8, false);
    std::vector<UniChar> units(static_cast<size_t>(CFStringGetLength(string)) + 1, 0);
    CFStringGetCharacters(string, CFRangeMake(0, CFStringGetLength(string)), units.data());
    CFRelease(string);
    return units;
}

std::string TextOf(CFStringRef string) {
    if (string == nullptr) return {};
    CFDataRef bytes = CFStringCreateExternalRepresentation(kCFAllocatorDefault, string, kCFStringEncodingUTF8, 0);
    if (bytes == nullptr) return {};
    std::string text(reinterpret_cast<const char*>(CFDataGetBytePtr(bytes)), static_cast<size_t>(CFDataGetLength(bytes)));
    CFRelease(bytes);
    return text;
}

namespace {
constexpr uint8_t kString[16] = {0xF2, 0x1C, 0x27, 0xEF, 0xF7, 0x55, 0xE5, 0x4A, 0x91, 0x39, 0x07, 0x33, 0x58, 0xA4, 0xE4, 0x04};
constexpr uint8_t kStringArray[16] = {0x78, 0x75, 0x56, 0x35, 0xB1, 0x31, 0xCF, 0x4F, 0x97, 0xCC, 0x39, 0x3A, 0xE4, 0x3C, 0xD5, 0xDE};
constexpr uint8_t kFloat[16] = {0x6D, 0x33, 0x05, 0xB3, 0xB1, 0xD0, 0xAB, 0x45, 0x82, 0xBE, 0xC1, 0x95, 0x38, 0x05, 0xA9, 0xA5};
constexpr uint8_t kImage[16] = {0x44, 0xF4, 0x4C, 0x6B, 0xC6, 0x12, 0x8A, 0x4E, 0xB7, 0xC1, 0x7D, 0xEA, 0x38, 0x70, 0x9C, 0x85};

bool HasKind(IQXPDataBase* value, const uint8_t (&bytes)[16]) {
    return value != nullptr && std::memcmp(value->GetTypeGUID(), bytes, 16) == 0;
}
}  // namespace

Extraction Extract(const std::string& path, uint32_t mask, uint32_t pictureSize) {
    Extraction extraction;
    CreateIQXPExtractInfo(extraction.request, mask, pictureSize, 0, 0);
    const std::vector<UniChar> units = UTF16Path(path);
    const int32_t created = CreateQXPMetaDataReader(units.data(), extraction.reader);
    if (extraction.reader.IsEmpty()) {
        extraction.status = created != 0 ? created : -1;
        return extraction;
    }
    extraction.status = extraction.reader->ExtractMetaData(extraction.request.Get(), extraction.dictionary);
    return extraction;
}

TInterfacePtr<IQXPDataBase> Extraction::Value(uint32_t entry) {
    TInterfacePtr<IQXPDataBase> value;
    if (!dictionary.IsEmpty()) dictionary->GetValue(entry, value);
    return value;
}

// The values are of one kind each, so the pointer serves as the specific interface once the
// kind identifier matches, just as the extraction tool converts it.
std::optional<std::string> Extraction::String(uint32_t entry) {
    TInterfacePtr<IQXPDataBase> value = Value(entry);
    if (!HasKind(value.Get(), kString)) return std::nullopt;
    return TextOf(static_cast<IQXPDataString*>(value.Get())->GetCFString());
}

std::optional<std::vector<std::string>> Extraction::StringList(uint32_t entry) {
    TInterfacePtr<IQXPDataBase> value = Value(entry);
    if (!HasKind(value.Get(), kStringArray)) return std::nullopt;
    auto* list = static_cast<IQXPDataStringArray*>(value.Get());
    std::vector<std::string> elements;
    for (uint32_t i = 0; i < list->GetCount(); ++i) {
        TInterfacePtr<IQXPDataString> element = list->GetStringAt(i);
        elements.push_back(element.IsEmpty() ? std::string("<empty>") : TextOf(element->GetCFString()));
    }
    return elements;
}

std::optional<float> Extraction::Float(uint32_t entry) {
    TInterfacePtr<IQXPDataBase> value = Value(entry);
    if (!HasKind(value.Get(), kFloat)) return std::nullopt;
    return static_cast<IQXPDataFloat*>(value.Get())->GetFloat();
}

CGImageRef Extraction::Image(uint32_t entry) {
    TInterfacePtr<IQXPDataBase> value = Value(entry);
    if (!HasKind(value.Get(), kImage)) return nullptr;
    auto* image = static_cast<IQXPDataImage*>(value.Get());
    image->AddRef();
    imageHolder.Attach(image);
    return image->GetCGImage();
}

std::optional<std::pair<size_t, size_t>> Extraction::ImageSize(uint32_t entry) {
    CGImageRef image = Image(entry);
    if (image == nullptr) return std::nullopt;
    return std::pair{CGImageGetWidth(image), CGImageGetHeight(image)};
}

std::vector<UInt8> PageRGBA(CGImageRef image) {
    std::vector<UInt8> rgba;
    CFDataRef data = CGDataProviderCopyData(CGImageGetDataProvider(image));
    if (data == nullptr) return rgba;
    const size_t width = CGImageGetWidth(image), height = CGImageGetHeight(image);
    const size_t bytesPerRow = CGImageGetBytesPerRow(image);
    const UInt8* pixels = CFDataGetBytePtr(data);
    rgba.reserve(width * height * 4);
    for (size_t y = 0; y < height; ++y)
        for (const UInt8* pixel = pixels + y * bytesPerRow; pixel < pixels + y * bytesPerRow + width * 4; pixel += 4)
            rgba.insert(rgba.end(), {pixel[2], pixel[1], pixel[0], pixel[3]});
    CFRelease(data);
    return rgba;
}

}  // namespace qxptest
