// One QuarkXPress document opened for extraction.
#pragma once

#include "ComObject.h"
#include "FormatHeader.h"

#include <string>

namespace QUARK::QXPMETADATA {

// Statuses of ExtractMetaData besides 0.
enum : int32_t {
    kQXPErrorNoRequest = -50,      // null request
    kQXPErrorNotOpen = -43,        // the path names no readable file
    kQXPErrorUnsupported = -2,     // not a document the reader library reads
    kQXPErrorDamaged = -3,         // the reader library gave up part way, or found no page
    kQXPErrorInternal = -1,        // out of memory or another unexpected failure
};

class MetaDataReader final : public ComObject<MetaDataReader, IQXPMetaDataReader> {
public:
    static constexpr GUID kKindGUID = {0x7A0C4E95, 0x1D62, 0x4B8F, {0xA4, 0x3E, 0x58, 0xC1, 0x09, 0xF7, 0x2B, 0x6D}};
    // Made for any path; a path that does not name a readable file gives a reader that is not open.
    static MetaDataReader* Make(std::string fileName, bool pathUsable);

    uint32_t GetPageCount() override { return fPageCount; }
    uint32_t GetFormatVersion() override { return fHeader.versionCode; }
    bool IsOpen() override { return fOpen; }
    CFStringRef GetPath() override { return fPathString; }
    void Close() override { fOpen = false; }
    int32_t ExtractMetaData(IQXPExtractInfo* request, TInterfacePtr<IQXPDictionary>& dictionary) override;

private:
    friend class ComObject<MetaDataReader, IQXPMetaDataReader>;
    MetaDataReader(std::string utf8Path, bool open, CFStringRef pathString);
    ~MetaDataReader();

    int32_t Extract(uint32_t mask, int pictureLongerSide, TInterfacePtr<IQXPDictionary>& dictionary);

    std::string fPath;
    bool fOpen;
    CFStringRef fPathString;  // may be NULL
    FormatHeader fHeader;
    uint32_t fPageCount = 0;
};

}  // namespace QUARK::QXPMETADATA
