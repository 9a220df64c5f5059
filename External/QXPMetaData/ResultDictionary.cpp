#include "ResultDictionary.h"

#include <new>

namespace QUARK::QXPMETADATA {

ResultDictionary* ResultDictionary::Make() { return new (std::nothrow) ResultDictionary(); }

void ResultDictionary::Add(uint32_t entryID, IQXPDataBase* value) {
    if (value == nullptr) return;
    TInterfacePtr<IQXPDataBase> holder;
    holder.Attach(value);
    fEntries.emplace_back(entryID, holder);
}

const TInterfacePtr<IQXPDataBase>* ResultDictionary::Find(uint32_t entryID) const {
    for (const auto& [id, value] : fEntries)
        if (id == entryID) return &value;
    return nullptr;
}

uint32_t ResultDictionary::GetEntryIDAt(uint32_t index) {
    return index < fEntries.size() ? fEntries[index].first : 0;
}

bool ResultDictionary::HasValue(const uint32_t& entryID) { return Find(entryID) != nullptr; }

int32_t ResultDictionary::GetValue(const uint32_t& entryID, TInterfacePtr<IQXPDataBase>& value) {
    const TInterfacePtr<IQXPDataBase>* found = Find(entryID);
    if (found == nullptr) {
        value.Clear();
        return -1;
    }
    value = *found;
    return 0;
}

}  // namespace QUARK::QXPMETADATA
