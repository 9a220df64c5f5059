#include "TextEncoding.h"

#include <array>
#include <unordered_map>

namespace {

// Mac OS Roman from 0x80 up, as iconv's MACINTOSH has it but with the Apple logo at 0xF0. A table
// of our own rather than iconv: opening an iconv conversion loads a converter module, which costs
// every short-lived program that touches a string more than its strings do.
constexpr std::array<char16_t, 128> kMacRomanHigh = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x0394, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

char16_t MacRomanCharacter(UInt8 byte) { return byte < 0x80 ? char16_t(byte) : kMacRomanHigh[byte - 0x80]; }

const std::unordered_map<char16_t, UInt8>& MacRomanReverse() {
    static const std::unordered_map<char16_t, UInt8> reverse = [] {
        std::unordered_map<char16_t, UInt8> result;
        for (unsigned byte = 0; byte < 256; ++byte)
            result.emplace(MacRomanCharacter(static_cast<UInt8>(byte)), static_cast<UInt8>(byte));
        return result;
    }();
    return reverse;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut-off sequence.
std::optional<std::u16string> DecodeUTF8(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const UInt8 lead = static_cast<UInt8>(bytes[i]);
        if (lead < 0x80) {
            units.push_back(lead);
            ++i;
            continue;
        }
        size_t length;
        char32_t code, smallest;
        if ((lead & 0xE0) == 0xC0) length = 2, code = lead & 0x1F, smallest = 0x80;
        else if ((lead & 0xF0) == 0xE0) length = 3, code = lead & 0x0F, smallest = 0x800;
        else if ((lead & 0xF8) == 0xF0) length = 4, code = lead & 0x07, smallest = 0x10000;
        else return std::nullopt;
        if (bytes.size() - i < length) return std::nullopt;
        for (size_t k = 1; k < length; ++k) {
            const UInt8 next = static_cast<UInt8>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
        if (code >= 0x10000) {
            units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return units;
}

std::optional<std::vector<UInt8>> EncodeUTF8(std::u16string_view units, UInt8 lossByte) {
    std::vector<UInt8> bytes;
    bytes.reserve(units.size() * 3);
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t code = units[i];
        if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            code = 0x10000 + ((char32_t(units[i]) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i])) {
            if (lossByte == 0) return std::nullopt;  // a lone surrogate has no UTF-8 form
            bytes.push_back(lossByte);
            continue;
        }
        if (code < 0x80) {
            bytes.push_back(static_cast<UInt8>(code));
        } else if (code < 0x800) {
            bytes.push_back(static_cast<UInt8>(0xC0 | (code >> 6)));
            bytes.push_back(static_cast<UInt8>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            bytes.push_back(static_cast<UInt8>(0xE0 | (code >> 12)));
            bytes.push_back(static_cast<UInt8>(0x80 | ((code >> 6) & 0x3F)));
            bytes.push_back(static_cast<UInt8>(0x80 | (code & 0x3F)));
        } else {
            bytes.push_back(static_cast<UInt8>(0xF0 | (code >> 18)));
            bytes.push_back(static_cast<UInt8>(0x80 | ((code >> 12) & 0x3F)));
            bytes.push_back(static_cast<UInt8>(0x80 | ((code >> 6) & 0x3F)));
            bytes.push_back(static_cast<UInt8>(0x80 | (code & 0x3F)));
        }
    }
    return bytes;
}

std::optional<std::vector<UInt8>> EncodeSingleByte(std::u16string_view units, CFStringEncoding encoding,
                                                   UInt8 lossByte) {
    std::vector<UInt8> bytes;
    bytes.reserve(units.size());
    const auto& reverse = MacRomanReverse();
    for (char16_t unit : units) {
        if (unit < 0x80) {
            bytes.push_back(static_cast<UInt8>(unit));
            continue;
        }
        auto found = encoding == kCFStringEncodingMacRoman ? reverse.find(unit) : reverse.end();
        if (found != reverse.end()) {
            bytes.push_back(found->second);
        } else if (lossByte != 0) {
            bytes.push_back(lossByte);
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

}  // namespace

namespace TextEncoding {

std::optional<std::u16string> Decode(std::string_view bytes, CFStringEncoding encoding) {
    switch (encoding) {
    case kCFStringEncodingMacRoman: {
        std::u16string units(bytes.size(), u'\0');
        for (size_t i = 0; i < bytes.size(); ++i) units[i] = MacRomanCharacter(static_cast<UInt8>(bytes[i]));
        return units;
    }
    case kCFStringEncodingASCII: {
        std::u16string units;
        for (char byte : bytes) {
            if (static_cast<UInt8>(byte) >= 0x80) return std::nullopt;
            units.push_back(static_cast<char16_t>(byte));
        }
        return units;
    }
    case kCFStringEncodingUTF8:
        return DecodeUTF8(bytes);
    case kCFStringEncodingUTF16:
    case kCFStringEncodingUTF16LE:
    case kCFStringEncodingUTF16BE: {
        if (bytes.size() % 2 != 0) return std::nullopt;
        bool bigEndian = encoding == kCFStringEncodingUTF16BE;
        std::u16string units;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            UInt8 first = static_cast<UInt8>(bytes[i]), second = static_cast<UInt8>(bytes[i + 1]);
            units.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : first | (second << 8)));
        }
        return units;
    }
    default:
        return std::nullopt;
    }
}

std::optional<std::vector<UInt8>> Encode(std::u16string_view units, CFStringEncoding encoding, UInt8 lossByte) {
    switch (encoding) {
    case kCFStringEncodingUTF8:
        return EncodeUTF8(units, lossByte);
    case kCFStringEncodingMacRoman:
    case kCFStringEncodingASCII:
        return EncodeSingleByte(units, encoding, lossByte);
    case kCFStringEncodingUTF16:
    case kCFStringEncodingUTF16LE: {
        std::vector<UInt8> bytes;
        for (char16_t unit : units) {
            bytes.push_back(static_cast<UInt8>(unit & 0xFF));
            bytes.push_back(static_cast<UInt8>(unit >> 8));
        }
        return bytes;
    }
    case kCFStringEncodingUTF16BE: {
        std::vector<UInt8> bytes;
        for (char16_t unit : units) {
            bytes.push_back(static_cast<UInt8>(unit >> 8));
            bytes.push_back(static_cast<UInt8>(unit & 0xFF));
        }
        return bytes;
    }
    default:
        return std::nullopt;
    }
}

}  // namespace TextEncoding
