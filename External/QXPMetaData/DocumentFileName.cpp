#include "DocumentFileName.h"

#include <sys/stat.h>

namespace QUARK::QXPMETADATA {

namespace {

std::optional<std::string> Encoded(CFStringRef string, CFStringEncoding encoding) {
    CFDataRef bytes = CFStringCreateExternalRepresentation(kCFAllocatorDefault, string, encoding, 0);
    if (bytes == nullptr) return std::nullopt;
    std::string encoded(reinterpret_cast<const char*>(CFDataGetBytePtr(bytes)), static_cast<size_t>(CFDataGetLength(bytes)));
    CFRelease(bytes);
    if (encoded.find('\0') != std::string::npos) return std::nullopt;
    return encoded;
}

bool IsUTF8(const std::string& bytes) {
    CFStringRef string = CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes.data()),
                                                 static_cast<CFIndex>(bytes.size()), kCFStringEncodingUTF8, false);
    if (string == nullptr) return false;
    CFRelease(string);
    return true;
}

bool Names(const std::string& fileName) {
    struct stat status = {};
    return lstat(fileName.c_str(), &status) == 0;
}

}  // namespace

std::optional<std::string> DocumentFileName(CFStringRef path) {
    const std::optional<std::string> utf8 = Encoded(path, kCFStringEncodingUTF8);
    if (utf8 && Names(*utf8)) return utf8;
    const std::optional<std::string> macRoman = Encoded(path, kCFStringEncodingMacRoman);
    if (macRoman && !IsUTF8(*macRoman) && Names(*macRoman)) return macRoman;
    return utf8;
}

}  // namespace QUARK::QXPMETADATA
