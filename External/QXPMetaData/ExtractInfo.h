// An extraction request: which entries to read, as a mask of entry identifiers.
#pragma once

#include "ComObject.h"

namespace QUARK::QXPMETADATA {

class ExtractInfo final : public ComObject<ExtractInfo, IQXPExtractInfo> {
public:
    static constexpr GUID kKindGUID = {0x2F8B7D13, 0x6A4E, 0x4C02, {0xB5, 0x3A, 0x91, 0x0E, 0x7C, 0x48, 0xD2, 0x66}};
    static ExtractInfo* Make(uint32_t mask);

    uint32_t GetMask() override { return fMask; }

private:
    friend class ComObject<ExtractInfo, IQXPExtractInfo>;
    explicit ExtractInfo(uint32_t mask) : fMask(mask) {}
    ~ExtractInfo() = default;

    uint32_t fMask;
};

}  // namespace QUARK::QXPMETADATA
