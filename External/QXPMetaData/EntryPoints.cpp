// The library's two entry points. Nothing thrown inside may leave them.
#include "DocumentFileName.h"
#include "ExtractInfo.h"
#include "MetaDataReader.h"

#include <string>

using namespace QUARK::QXPMETADATA;

namespace {

// The file the path names; false when it can name none.
bool FileNameFromUTF16(const UniChar* path, std::string& fileName) {
    size_t length = 0;
    while (path[length] != 0) ++length;
    CFStringRef string = CFStringCreateWithCharacters(kCFAllocatorDefault, path, static_cast<CFIndex>(length));
    if (string == nullptr) return false;
    const std::optional<std::string> named = DocumentFileName(string);
    CFRelease(string);
    if (!named) return false;
    fileName = *named;
    return true;
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
        std::string fileName;
        const bool usable = FileNameFromUTF16(path, fileName);
        MetaDataReader* made = MetaDataReader::Make(usable ? fileName : std::string(), usable);
        if (made == nullptr) return kQXPErrorInternal;
        reader.Attach(made);
        return made->IsOpen() ? 0 : kQXPErrorNotOpen;
    } catch (...) {
        return kQXPErrorInternal;
    }
}

}  // extern "C"
