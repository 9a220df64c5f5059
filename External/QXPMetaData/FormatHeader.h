// The version a QuarkXPress file records in its header. The reader library only says whether it
// can read a file; which release wrote it is read here.
#pragma once

#include <cstdint>
#include <string>

namespace QUARK::QXPMETADATA {

struct FormatHeader {
    bool recognized = false;  // byte-order mark and signature present
    uint16_t versionCode = 0;
    std::string versionName;  // "3.3", "4.0" ...; empty when the code is not one we know

    // "QuarkXPress 4.0", or just "QuarkXPress" when the version is unknown.
    std::string FormatName() const;
};

FormatHeader ReadFormatHeader(const std::string& path);

}  // namespace QUARK::QXPMETADATA
