#include <CoreFoundation/CFString.h>

#include <CoreFoundation/CFData.h>
#include "CFStringStorage.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

static const std::u16string& Units(CFStringRef theString) {
    if (theString == nullptr) std::abort();
    return theString->units;
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex numBytes, CFStringEncoding encoding,
                                    Boolean) {
    if (bytes == nullptr && numBytes != 0) return nullptr;
    std::optional<std::u16string> units =
        TextEncoding::Decode(std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(numBytes)), encoding);
    if (!units) return nullptr;
    return new __CFString(std::move(*units));
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr, CFStringEncoding encoding) {
    if (cStr == nullptr) return nullptr;
    return CFStringCreateWithBytes(alloc, reinterpret_cast<const UInt8*>(cStr), static_cast<CFIndex>(std::strlen(cStr)),
                                   encoding, false);
}

CFStringRef CFStringCreateWithCharacters(CFAllocatorRef, const UniChar* chars, CFIndex numChars) {
    if (chars == nullptr && numChars != 0) return nullptr;
    return new __CFString(std::u16string(reinterpret_cast<const char16_t*>(chars), static_cast<size_t>(numChars)));
}

CFIndex CFStringGetLength(CFStringRef theString) { return static_cast<CFIndex>(Units(theString).size()); }

void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar* buffer) {
    const std::u16string& units = Units(theString);
    if (range.location < 0 || range.length < 0 || static_cast<size_t>(range.location + range.length) > units.size())
        std::abort();  // out of range is a caller's bug on the platform as well
    std::copy_n(units.data() + range.location, range.length, reinterpret_cast<char16_t*>(buffer));
}

Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize, CFStringEncoding encoding) {
    std::optional<std::vector<UInt8>> bytes = TextEncoding::Encode(Units(theString), encoding, 0);
    if (!bytes || buffer == nullptr || static_cast<CFIndex>(bytes->size()) + 1 > bufferSize) return false;
    std::memcpy(buffer, bytes->data(), bytes->size());
    buffer[bytes->size()] = '\0';
    return true;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding) {
    switch (encoding) {
    case kCFStringEncodingUTF8: return length * 3;
    case kCFStringEncodingMacRoman:
    case kCFStringEncodingASCII: return length;
    default: return length * 2;
    }
}

CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef alloc, CFStringRef theString, CFStringEncoding encoding,
                                               UInt8 lossByte) {
    std::optional<std::vector<UInt8>> bytes = TextEncoding::Encode(Units(theString), encoding, lossByte);
    if (!bytes) return nullptr;
    return CFDataCreate(alloc, bytes->data(), static_cast<CFIndex>(bytes->size()));
}

CFComparisonResult CFStringCompare(CFStringRef a, CFStringRef b, CFOptionFlags) {
    int order = Units(a).compare(Units(b));
    return order < 0 ? kCFCompareLessThan : (order > 0 ? kCFCompareGreaterThan : kCFCompareEqualTo);
}

CFStringRef __CFStringMakeConstantString(const char* cStr) {
    static std::mutex lock;
    static std::map<std::string, __CFString*>* interned = new std::map<std::string, __CFString*>();
    std::lock_guard<std::mutex> guard(lock);
    auto& slot = (*interned)[cStr];
    if (slot == nullptr) {
        std::optional<std::u16string> units = TextEncoding::Decode(cStr, kCFStringEncodingUTF8);
        slot = new __CFString(units.value_or(std::u16string()));
        slot->immortal = true;
    }
    return slot;
}
