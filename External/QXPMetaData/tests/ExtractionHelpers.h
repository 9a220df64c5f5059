// Helpers that drive the library the way its callers do: through the entry points, holders and
// kind identifiers only.
#pragma once

#include <QXPMetaData.h>

#include <optional>
#include <string>
#include <vector>

namespace qxptest {

using namespace QUARK::QXPMETADATA;
using QUARK::COM::TInterfacePtr;

inline constexpr uint32_t kAllEntries = 1023;

// One extraction: request, reader and dictionary, alive as long as this object.
struct Extraction {
    TInterfacePtr<IQXPExtractInfo> request;
    TInterfacePtr<IQXPMetaDataReader> reader;
    TInterfacePtr<IQXPDictionary> dictionary;
    int32_t status = 0;

    std::optional<std::string> String(uint32_t entry);
    std::optional<std::vector<std::string>> StringList(uint32_t entry);
    std::optional<float> Float(uint32_t entry);
    // Pixel width and height of the picture, when there is one.
    std::optional<std::pair<size_t, size_t>> ImageSize(uint32_t entry);
    CGImageRef Image(uint32_t entry);  // borrowed from the value kept in holder
    TInterfacePtr<IQXPDataBase> Value(uint32_t entry);

    TInterfacePtr<IQXPDataImage> imageHolder;
};

// Opens path (UTF-8) and extracts mask, the picture at pictureSize (0: the usual size); status is
// ExtractMetaData's result, or the reader's creation status when no reader was made.
Extraction Extract(const std::string& path, uint32_t mask, uint32_t pictureSize = 0);

// A page picture's pixels as RGBA rows, top row first. Pages are drawn opaque, in cairo's layout
// (premultiplied ARGB, little-endian), so their bytes are only reordered.
std::vector<UInt8> PageRGBA(CGImageRef image);

std::vector<UniChar> UTF16Path(const std::string& utf8);
std::string TextOf(CFStringRef string);

}  // namespace qxptest
