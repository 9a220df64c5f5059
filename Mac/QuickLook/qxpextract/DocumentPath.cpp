#include "DocumentPath.h"

#include <cstdlib>

CFStringRef CreateDocumentPathString(const char* path) {
    CFStringRef string = CFStringCreateWithCString(kCFAllocatorDefault, path, kCFStringEncodingUTF8);
    if (string == nullptr) string = CFStringCreateWithCString(NULL, path, kCFStringEncodingMacRoman);
    return string;
}

void OpenDocument(CFStringRef path, QUARK::COM::TInterfacePtr<QUARK::QXPMETADATA::IQXPMetaDataReader>& reader) {
    const CFIndex length = CFStringGetLength(path);
    auto* buffer = static_cast<UniChar*>(std::malloc(sizeof(UniChar) * (length + 1)));
    if (buffer == nullptr) return;
    CFStringGetCharacters(path, CFRangeMake(0, length), buffer);
    buffer[length] = 0;
    CreateQXPMetaDataReader(buffer, reader);
    std::free(buffer);
}
