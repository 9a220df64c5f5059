#include "QuarkXPressRelease.h"

#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The version codes seen in documents saved by each release: 3.1 wrote 0x39 on the Macintosh and
// 0x3E on Windows, 3.3 0x3F, 4.x 0x41, 5 0x42 and 6 0x43.
std::optional<int> ReleaseOfVersionCode(uint16_t code) {
    switch (code) {
    case 0x39:
    case 0x3E:
    case 0x3F: return 3;
    case 0x41: return 4;
    case 0x42: return 5;
    case 0x43: return 6;
    default: return std::nullopt;
    }
}

}  // namespace

// The header: two bytes, the byte order ("MM" big-endian, "II" little-endian), "XPR3", then the
// version code as a 16-bit number in that byte order.
std::optional<int> QuarkXPressReleaseOf(const std::string& path) {
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file < 0) return std::nullopt;
    unsigned char header[10] = {};
    struct stat status {};
    const bool read = fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
                      pread(file, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header);
    close(file);
    if (!read || std::memcmp(header + 4, "XPR3", 4) != 0) return std::nullopt;
    if (header[2] == 'M' && header[3] == 'M') return ReleaseOfVersionCode(static_cast<uint16_t>(header[8] << 8 | header[9]));
    if (header[2] == 'I' && header[3] == 'I') return ReleaseOfVersionCode(static_cast<uint16_t>(header[9] << 8 | header[8]));
    return std::nullopt;
}
