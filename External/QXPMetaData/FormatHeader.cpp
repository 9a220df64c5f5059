#include "FormatHeader.h"

#include <cstring>
#include <fstream>

namespace QUARK::QXPMETADATA {

namespace {

// Version codes at offset 8. Documents saved by 3.3 hold 0x3F and those saved by 4.0 hold 0x41;
// 3.1 wrote 0x39 on the Macintosh and 0x3E on Windows. 4.1 is not told apart from 4.0 here, as
// we have seen no file that would show how it differs.
const char* VersionName(uint16_t code) {
    switch (code) {
    case 0x39:
    case 0x3E: return "3.1";
    case 0x3F: return "3.3";
    case 0x41: return "4.0";
    default: return "";
    }
}

}  // namespace

std::string FormatHeader::FormatName() const {
    return versionName.empty() ? "QuarkXPress" : "QuarkXPress " + versionName;
}

// Layout: two bytes, the byte-order mark "MM" (big-endian) or "II" (little-endian), the
// signature "XPR", one more byte, then the version as a 16-bit number in the file's byte order.
FormatHeader ReadFormatHeader(const std::string& path) {
    FormatHeader header;
    std::ifstream file(path, std::ios::binary);
    unsigned char bytes[10] = {};
    if (!file.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return header;
    const bool bigEndian = bytes[2] == 'M' && bytes[3] == 'M';
    const bool littleEndian = bytes[2] == 'I' && bytes[3] == 'I';
    if ((!bigEndian && !littleEndian) || std::memcmp(bytes + 4, "XPR", 3) != 0) return header;
    header.recognized = true;
    header.versionCode = bigEndian ? static_cast<uint16_t>(bytes[8] << 8 | bytes[9])
                                   : static_cast<uint16_t>(bytes[9] << 8 | bytes[8]);
    header.versionName = VersionName(header.versionCode);
    return header;
}

}  // namespace QUARK::QXPMETADATA
