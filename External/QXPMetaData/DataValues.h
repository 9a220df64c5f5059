// The extracted values: text, lists of text, numbers and pictures, each exactly one kind.
#pragma once

#include "ComObject.h"

#include <string>
#include <vector>

namespace QUARK::QXPMETADATA {

// Kind identifiers reported by GetTypeGUID.
inline constexpr GUID kKindFloat = {0xB305336D, 0xD0B1, 0x45AB, {0x82, 0xBE, 0xC1, 0x95, 0x38, 0x05, 0xA9, 0xA5}};
inline constexpr GUID kKindStringArray = {0x35567578, 0x31B1, 0x4FCF, {0x97, 0xCC, 0x39, 0x3A, 0xE4, 0x3C, 0xD5, 0xDE}};
inline constexpr GUID kKindString = {0xEF271CF2, 0x55F7, 0x4AE5, {0x91, 0x39, 0x07, 0x33, 0x58, 0xA4, 0xE4, 0x04}};
inline constexpr GUID kKindImage = {0x6B4CF444, 0x12C6, 0x4E8A, {0xB7, 0xC1, 0x7D, 0xEA, 0x38, 0x70, 0x9C, 0x85}};
inline constexpr GUID kKindBinary = {0x9D3A61C2, 0x4F0B, 0x4C8E, {0xA1, 0x57, 0x2E, 0x90, 0x6B, 0xD4, 0x13, 0x7F}};

class StringValue final : public ComObject<StringValue, IQXPDataString> {
public:
    static constexpr GUID kKindGUID = kKindString;
    // Text is UTF-8; invalid sequences become U+FFFD so the value always has a string.
    static StringValue* Make(uint32_t entryID, const std::string& utf8);

    uint32_t GetEntryID() override { return fEntryID; }
    uint32_t GetFlags() override { return 0; }
    const GUID* GetTypeGUID() override { return &kKindGUID; }
    uint32_t GetLength() override;
    uint32_t GetUTF8Length() override { return static_cast<uint32_t>(fUTF8.size()); }
    CFStringRef GetCFString() override { return fString; }

private:
    friend class ComObject<StringValue, IQXPDataString>;
    StringValue(uint32_t entryID, std::string utf8, CFStringRef string);
    ~StringValue();

    uint32_t fEntryID;
    std::string fUTF8;
    CFStringRef fString;
};

class StringArrayValue final : public ComObject<StringArrayValue, IQXPDataStringArray> {
public:
    static constexpr GUID kKindGUID = kKindStringArray;
    static StringArrayValue* Make(uint32_t entryID, std::vector<std::string> elements);

    uint32_t GetEntryID() override { return fEntryID; }
    uint32_t GetFlags() override { return 0; }
    const GUID* GetTypeGUID() override { return &kKindGUID; }
    uint32_t GetCount() override { return static_cast<uint32_t>(fElements.size()); }
    // A new text value per call, owned by the returned holder; empty past the end.
    TInterfacePtr<IQXPDataString> GetStringAt(uint32_t index) override;

private:
    friend class ComObject<StringArrayValue, IQXPDataStringArray>;
    StringArrayValue(uint32_t entryID, std::vector<std::string> elements)
        : fEntryID(entryID), fElements(std::move(elements)) {}
    ~StringArrayValue() = default;

    uint32_t fEntryID;
    std::vector<std::string> fElements;
};

class FloatValue final : public ComObject<FloatValue, IQXPDataFloat> {
public:
    static constexpr GUID kKindGUID = kKindFloat;
    static FloatValue* Make(uint32_t entryID, float number);

    uint32_t GetEntryID() override { return fEntryID; }
    uint32_t GetFlags() override { return 0; }
    const GUID* GetTypeGUID() override { return &kKindGUID; }
    float GetFloat() override { return fNumber; }

private:
    friend class ComObject<FloatValue, IQXPDataFloat>;
    FloatValue(uint32_t entryID, float number) : fEntryID(entryID), fNumber(number) {}
    ~FloatValue() = default;

    uint32_t fEntryID;
    float fNumber;
};

class ImageValue final : public ComObject<ImageValue, IQXPDataImage> {
public:
    static constexpr GUID kKindGUID = kKindImage;
    // Takes over the caller's reference to image.
    static ImageValue* Make(uint32_t entryID, CGImageRef image);

    uint32_t GetEntryID() override { return fEntryID; }
    uint32_t GetFlags() override { return 0; }
    const GUID* GetTypeGUID() override { return &kKindGUID; }
    void GetPixelSize(uint32_t* width, uint32_t* height) override;
    CGImageRef GetCGImage() override { return fImage; }

private:
    friend class ComObject<ImageValue, IQXPDataImage>;
    ImageValue(uint32_t entryID, CGImageRef image) : fEntryID(entryID), fImage(image) {}
    ~ImageValue();

    uint32_t fEntryID;
    CGImageRef fImage;
};

}  // namespace QUARK::QXPMETADATA
