#include "DataValues.h"

#include <new>

namespace QUARK::QXPMETADATA {

namespace {

// Replaces every malformed UTF-8 sequence with U+FFFD, so a string can always be made.
std::string ValidUTF8(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t i = 0;
    while (i < size) {
        const unsigned char lead = bytes[i];
        size_t length = 0;
        uint32_t minimum = 0;
        if (lead < 0x80) length = 1;
        else if ((lead & 0xE0) == 0xC0) length = 2, minimum = 0x80;
        else if ((lead & 0xF0) == 0xE0) length = 3, minimum = 0x800;
        else if ((lead & 0xF8) == 0xF0) length = 4, minimum = 0x10000;
        bool valid = length != 0 && i + length <= size;
        uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; valid && k < length; ++k) {
            valid = (bytes[i + k] & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (bytes[i + k] & 0x3F);
        }
        if (valid && length > 1)
            valid = codePoint >= minimum && codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
        if (valid) {
            result.append(text, i, length);
            i += length;
        } else {
            result += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return result;
}

}  // namespace

StringValue* StringValue::Make(uint32_t entryID, const std::string& utf8) {
    std::string text = ValidUTF8(utf8);
    CFStringRef string = CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text.data()),
                                                 static_cast<CFIndex>(text.size()), kCFStringEncodingUTF8, false);
    if (string == nullptr) return nullptr;
    auto* value = new (std::nothrow) StringValue(entryID, std::move(text), string);
    if (value == nullptr) CFRelease(string);
    return value;
}

StringValue::StringValue(uint32_t entryID, std::string utf8, CFStringRef string)
    : fEntryID(entryID), fUTF8(std::move(utf8)), fString(string) {}

StringValue::~StringValue() { CFRelease(fString); }

uint32_t StringValue::GetLength() { return static_cast<uint32_t>(CFStringGetLength(fString)); }

StringArrayValue* StringArrayValue::Make(uint32_t entryID, std::vector<std::string> elements) {
    return new (std::nothrow) StringArrayValue(entryID, std::move(elements));
}

TInterfacePtr<IQXPDataString> StringArrayValue::GetStringAt(uint32_t index) {
    TInterfacePtr<IQXPDataString> element;
    try {
        if (index < fElements.size()) PutNewInto(element, StringValue::Make(fEntryID, fElements[index]));
    } catch (...) {
        element.Clear();
    }
    return element;
}

FloatValue* FloatValue::Make(uint32_t entryID, float number) { return new (std::nothrow) FloatValue(entryID, number); }

ImageValue* ImageValue::Make(uint32_t entryID, CGImageRef image) {
    if (image == nullptr) return nullptr;
    auto* value = new (std::nothrow) ImageValue(entryID, image);
    if (value == nullptr) CGImageRelease(image);
    return value;
}

ImageValue::~ImageValue() { CGImageRelease(fImage); }

void ImageValue::GetPixelSize(uint32_t* width, uint32_t* height) {
    if (width != nullptr) *width = static_cast<uint32_t>(CGImageGetWidth(fImage));
    if (height != nullptr) *height = static_cast<uint32_t>(CGImageGetHeight(fImage));
}

}  // namespace QUARK::QXPMETADATA
