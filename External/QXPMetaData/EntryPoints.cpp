// The library's two entry points. Nothing thrown inside may leave them.
#include "ExtractInfo.h"
#include "MetaDataReader.h"

#include <string>

using namespace QUARK::QXPMETADATA;

namespace {

// The path as UTF-8; false when it holds unpaired surrogates and so names no file.
bool PathFromUTF16(const UniChar* path, std::string& utf8) {
    size_t length = 0;
    while (path[length] != 0) ++length;
    CFStringRef string = CFStringCreateWithCharacters(kCFAllocatorDefault, path, static_cast<CFIndex>(length));
    if (string == nullptr) return false;
    CFDataRef bytes = CFStringCreateExternalRepresentation(kCFAllocatorDefault, string, kCFStringEncodingUTF8, 0);
    CFRelease(string);
    if (bytes == nullptr) return false;
    utf8.assign(reinterpret_cast<const char*>(CFDataGetBytePtr(bytes)), static_cast<size_t>(CFDataGetLength(bytes)));
    CFRelease(bytes);
    return utf8.find('\0') == std::string::npos;
}

}  // namespace

extern "C" {

int32_t CreateIQXPExtractInfo(QUARK::COM::TInterfacePtr<IQXPExtractInfo>& request, uint32_t mask,
                              uint32_t pictureLongerSide, uint32_t, uint32_t) {
    try {
        ExtractInfo* info = ExtractInfo::Make(mask, pictureLongerSide);
        if (info == nullptr) return kQXPErrorInternal;
        request.Attach(info);
        return 0;
    } catch (...) {
        return kQXPErrorInternal;
    }
}

// A reader is made for every path given, so callers can always ask it to extract: a path that
// cannot be represented or names no readable file gives a reader whose extraction fails.
int32_t CreateQXPMetaDataReader(const UniChar* path, QUARK::COM::TInterfacePtr<IQXPMetaDataReader>& reader) {
    try {
        if (path == nullptr) return kQXPErrorNotOpen;
        std::string utf8;
        const bool usable = PathFromUTF16(path, utf8);
        MetaDataReader* made = MetaDataReader::Make(usable ? utf8 : std::string(), usable);
        if (made == nullptr) return kQXPErrorInternal;
        reader.Attach(made);
        return made->IsOpen() ? 0 : kQXPErrorNotOpen;
    } catch (...) {
        return kQXPErrorInternal;
    }
}

}  // extern "C"
