#include "TextEncoding.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <unordered_map>

namespace {

// One iconv descriptor per conversion and thread: opening one costs more than a short conversion.
class IconvConverter {
public:
    IconvConverter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
    ~IconvConverter() {
        if (valid()) iconv_close(descriptor_);
    }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    bool valid() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    // Whole input or nothing: an invalid or truncated sequence fails the conversion.
    std::optional<std::string> convert(std::string_view input) {
        if (!valid()) return std::nullopt;
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        std::string output(input.size() * 4 + 8, '\0');
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char* out = output.data();
        size_t outLeft = output.size();
        if (iconv(descriptor_, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
        if (iconv(descriptor_, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
        output.resize(output.size() - outLeft);
        return output;
    }

private:
    iconv_t descriptor_;
};

std::u16string FromUTF16LEBytes(const std::string& bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<UInt8>(bytes[2 * i]) | (static_cast<UInt8>(bytes[2 * i + 1]) << 8));
    return units;
}

// Mac OS Roman as Apple's current table has it; iconv's MACINTOSH differs only in the Apple logo.
const std::array<char16_t, 256>& MacRomanTable() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> result{};
        IconvConverter toUTF16("UTF-16LE", "MACINTOSH");
        std::string all(256, '\0');
        for (int byte = 0; byte < 256; ++byte) all[static_cast<size_t>(byte)] = static_cast<char>(byte);
        std::optional<std::string> converted = toUTF16.convert(all);
        std::u16string units = converted && converted->size() == 512 ? FromUTF16LEBytes(*converted) : std::u16string();
        for (size_t byte = 0; byte < 256; ++byte)
            result[byte] = byte < units.size() ? units[byte] : (byte < 128 ? char16_t(byte) : u'\uFFFD');
        result[0xF0] = u'\uF8FF';
        return result;
    }();
    return table;
}

const std::unordered_map<char16_t, UInt8>& MacRomanReverse() {
    static const std::unordered_map<char16_t, UInt8> reverse = [] {
        std::unordered_map<char16_t, UInt8> result;
        const auto& table = MacRomanTable();
        for (size_t byte = 0; byte < 256; ++byte) result.emplace(table[byte], static_cast<UInt8>(byte));
        return result;
    }();
    return reverse;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

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
        const auto& table = MacRomanTable();
        std::u16string units(bytes.size(), u'\0');
        for (size_t i = 0; i < bytes.size(); ++i) units[i] = table[static_cast<UInt8>(bytes[i])];
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
    case kCFStringEncodingUTF8: {
        thread_local IconvConverter fromUTF8("UTF-16LE", "UTF-8");
        std::optional<std::string> converted = fromUTF8.convert(bytes);
        if (!converted) return std::nullopt;
        return FromUTF16LEBytes(*converted);
    }
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
