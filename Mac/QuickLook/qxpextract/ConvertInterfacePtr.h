// Conversion of a general value holder into a holder of one value kind. The kind is told by the
// value's 16-byte identifier; the same pointer then serves as the specific interface.
#pragma once

#include "QXPInterfaceGUIDs.h"
#include "TInterfacePtr.h"

#include <cstring>

namespace QUARK::QXPMETADATA {

template <class Target>
const GUID& InterfaceGUID();
template <> inline const GUID& InterfaceGUID<IQXPDataFloat>() { return kGUIDIQXPDataFloat; }
template <> inline const GUID& InterfaceGUID<IQXPDataStringArray>() { return kGUIDIQXPDataStringArray; }
template <> inline const GUID& InterfaceGUID<IQXPDataString>() { return kGUIDIQXPDataString; }
template <> inline const GUID& InterfaceGUID<IQXPDataImage>() { return kGUIDIQXPDataImage; }

// True when target now holds source's value. An empty source empties the target; a value of
// another kind leaves the target exactly as it was.
template <class Source, class Target>
bool ConvertInterfacePtr(const TInterfacePtr<Source>& source, TInterfacePtr<Target>& target) {
    if (source.IsEmpty()) {
        target.Clear();
        return false;
    }
    const GUID* kind = source->GetTypeGUID();
    if (kind == nullptr || std::memcmp(kind, &InterfaceGUID<Target>(), sizeof(GUID)) != 0) return false;
    source->AddRef();
    target.Attach(static_cast<Target*>(source.Get()));
    return true;
}

}  // namespace QUARK::QXPMETADATA
