// An extraction request: which entries to read, as a mask of entry identifiers, and how large the
// page picture is drawn.
#pragma once

#include "ComObject.h"

namespace QUARK::QXPMETADATA {

class ExtractInfo final : public ComObject<ExtractInfo, IQXPExtractInfo> {
public:
    static constexpr GUID kKindGUID = {0x2F8B7D13, 0x6A4E, 0x4C02, {0xB5, 0x3A, 0x91, 0x0E, 0x7C, 0x48, 0xD2, 0x66}};
    // pictureLongerSide: the longer side of the page picture in pixels; 0 for the usual size.
    static ExtractInfo* Make(uint32_t mask, uint32_t pictureLongerSide);

    uint32_t GetMask() override { return fMask; }
    int PictureLongerSide() const { return fPictureLongerSide; }

private:
    friend class ComObject<ExtractInfo, IQXPExtractInfo>;
    ExtractInfo(uint32_t mask, int pictureLongerSide) : fMask(mask), fPictureLongerSide(pictureLongerSide) {}
    ~ExtractInfo() = default;

    uint32_t fMask;
    int fPictureLongerSide;
};

}  // namespace QUARK::QXPMETADATA
