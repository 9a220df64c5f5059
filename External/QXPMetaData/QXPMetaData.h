// Interfaces and entry points of the QuarkXPress metadata library. The order of the virtual
// operations is the library's binary interface: operations that callers never use keep their
// places so that the later ones stay in their slots.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>

#include <cstdint>

#include "TInterfacePtr.h"

namespace QUARK::COM {

// 16 bytes: Data1, Data2 and Data3 little-endian in memory on this machine, then 8 single bytes.
struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);

// The reference-counting root; the interfaces have no virtual destructor, as in COM.
class IUnknown {
public:
    virtual int32_t QueryInterface(const GUID& iid, void** anInterface) = 0;  // slot 1
    virtual uint32_t AddRef() = 0;                                           // slot 2
    virtual uint32_t Release() = 0;                                          // slot 3
protected:
    ~IUnknown() = default;
};

}  // namespace QUARK::COM

namespace QUARK::QXPMETADATA {

using QUARK::COM::GUID;
using QUARK::COM::IUnknown;
using QUARK::COM::TInterfacePtr;

// Entry identifiers; each is one bit of an extraction mask.
enum : uint32_t {
    kQXPEntrySummary = 1,      // string: format, version and page count
    kQXPEntryPageWidth = 2,    // float: first page width in points
    kQXPEntryPageHeight = 4,   // float: first page height in points
    kQXPEntryThumbnail = 8,    // image: the first page drawn
    kQXPEntryParagraphs = 16,  // string list: non-empty paragraphs in page order
    kQXPEntryColors = 32,      // string list: "#rrggbb" colours in first-use order
    kQXPEntryFonts = 64,       // string list: font names in first-use order
    kQXPEntryPageSizes = 128,  // string list: "W x H pt" per page
    kQXPEntryText = 256,       // string: paragraphs joined by line feeds
    kQXPEntryFormat = 512,     // string: format with its version
};

class IQXPExtractInfo : public virtual IUnknown {
public:
    virtual uint32_t GetMask() = 0;
protected:
    ~IQXPExtractInfo() = default;
};

class IQXPDataBase : public IUnknown {
public:
    virtual uint32_t GetEntryID() = 0;          // slot 4
    virtual uint32_t GetFlags() = 0;            // slot 5
    virtual const GUID* GetTypeGUID() = 0;      // slot 6
protected:
    ~IQXPDataBase() = default;
};

class IQXPDataString : public IQXPDataBase {
public:
    virtual uint32_t GetLength() = 0;           // slot 7: UTF-16 code units
    virtual uint32_t GetUTF8Length() = 0;       // slot 8
    virtual CFStringRef GetCFString() = 0;      // slot 9: owned by the value
protected:
    ~IQXPDataString() = default;
};

class IQXPDataStringArray : public IQXPDataBase {
public:
    virtual uint32_t GetCount() = 0;                                     // slot 7
    virtual TInterfacePtr<IQXPDataString> GetStringAt(uint32_t index) = 0;  // slot 8
protected:
    ~IQXPDataStringArray() = default;
};

class IQXPDataImage : public IQXPDataBase {
public:
    virtual void GetPixelSize(uint32_t* width, uint32_t* height) = 0;   // slot 7
    virtual CGImageRef GetCGImage() = 0;                                 // slot 8: owned by the value
protected:
    ~IQXPDataImage() = default;
};

class IQXPDataFloat : public IQXPDataBase {
public:
    virtual float GetFloat() = 0;               // slot 7
protected:
    ~IQXPDataFloat() = default;
};

class IQXPDataBinary : public IQXPDataBase {
public:
    virtual uint32_t GetSize() = 0;             // slot 7
    virtual const uint8_t* GetBytes() = 0;      // slot 8
protected:
    ~IQXPDataBinary() = default;
};

class IQXPDictionary : public IUnknown {
public:
    virtual uint32_t GetCount() = 0;                                              // slot 4
    virtual uint32_t GetEntryIDAt(uint32_t index) = 0;                            // slot 5
    virtual bool HasValue(const uint32_t& entryID) = 0;                           // slot 6
    virtual int32_t GetValue(const uint32_t& entryID, TInterfacePtr<IQXPDataBase>& value) = 0;  // slot 7
protected:
    ~IQXPDictionary() = default;
};

class IQXPMetaDataReader : public virtual IUnknown {
public:
    virtual uint32_t GetPageCount() = 0;        // own slot 1
    virtual uint32_t GetFormatVersion() = 0;    // own slot 2
    virtual bool IsOpen() = 0;                  // own slot 3
    virtual CFStringRef GetPath() = 0;          // own slot 4
    virtual void Close() = 0;                   // own slot 5
    // 0 on success; fills the dictionary with the entries of the request's mask.
    virtual int32_t ExtractMetaData(IQXPExtractInfo* request, TInterfacePtr<IQXPDictionary>& dictionary) = 0;
protected:
    ~IQXPMetaDataReader() = default;
};

}  // namespace QUARK::QXPMETADATA

// The library exports its two entry points and nothing else.
#define QXPMETADATA_EXPORT __attribute__((visibility("default")))

extern "C" {
// pictureLongerSide: the longer side in pixels of the page picture (entry 8), 0 for 512, at most
// 4096. The two trailing arguments are reserved; callers pass zero.
QXPMETADATA_EXPORT int32_t CreateIQXPExtractInfo(QUARK::COM::TInterfacePtr<QUARK::QXPMETADATA::IQXPExtractInfo>& request, uint32_t mask,
                              uint32_t pictureLongerSide, uint32_t reserved2, uint32_t reserved3);
// path: zero-terminated UTF-16; the reader holder stays empty when the library cannot make one.
QXPMETADATA_EXPORT int32_t CreateQXPMetaDataReader(const UniChar* path,
                                QUARK::COM::TInterfacePtr<QUARK::QXPMETADATA::IQXPMetaDataReader>& reader);
}
