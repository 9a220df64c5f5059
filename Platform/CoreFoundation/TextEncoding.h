// Conversions between byte encodings and UTF-16 (private to the stand-ins).
#pragma once

#include <CoreFoundation/CFString.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace TextEncoding {

// Empty when the bytes are not valid in that encoding or the encoding is not supported.
std::optional<std::u16string> Decode(std::string_view bytes, CFStringEncoding encoding);

// Empty when a character cannot be encoded and lossByte is 0.
std::optional<std::vector<UInt8>> Encode(std::u16string_view units, CFStringEncoding encoding, UInt8 lossByte);

}  // namespace TextEncoding
