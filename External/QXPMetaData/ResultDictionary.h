// The result of one extraction: values keyed by entry identifier.
#pragma once

#include "ComObject.h"

#include <utility>
#include <vector>

namespace QUARK::QXPMETADATA {

class ResultDictionary final : public ComObject<ResultDictionary, IQXPDictionary> {
public:
    static constexpr GUID kKindGUID = {0x5C1E2A47, 0x8B3D, 0x4F60, {0x9E, 0x21, 0x74, 0xD8, 0x0A, 0x6C, 0x3B, 0x95}};
    static ResultDictionary* Make();

    // Takes over the value's one reference; a null value (making it failed) adds nothing.
    void Add(uint32_t entryID, IQXPDataBase* value);

    uint32_t GetCount() override { return static_cast<uint32_t>(fEntries.size()); }
    uint32_t GetEntryIDAt(uint32_t index) override;
    bool HasValue(const uint32_t& entryID) override;
    // Fills value with a new reference to the entry, or empties it when there is none; 0 when found.
    int32_t GetValue(const uint32_t& entryID, TInterfacePtr<IQXPDataBase>& value) override;

private:
    friend class ComObject<ResultDictionary, IQXPDictionary>;
    ResultDictionary() = default;
    ~ResultDictionary() = default;

    const TInterfacePtr<IQXPDataBase>* Find(uint32_t entryID) const;

    std::vector<std::pair<uint32_t, TInterfacePtr<IQXPDataBase>>> fEntries;
};

}  // namespace QUARK::QXPMETADATA
