// Reference counting shared by every object the library hands out: each object starts with the
// one reference that the holder it is put in owns, and deletes itself when the last one goes.
#pragma once

#include "QXPMetaData.h"

#include <atomic>
#include <cstring>

namespace QUARK::QXPMETADATA {

inline constexpr GUID kGUIDIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

inline bool SameGUID(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

// Derived is the final class; Interface the one interface it implements (single inheritance, so
// the object's address serves unchanged for the interface and for IUnknown).
template <class Derived, class Interface>
class ComObject : public Interface {
public:
    int32_t QueryInterface(const GUID& iid, void** anInterface) override {
        if (anInterface == nullptr) return kErrorPointer;
        *anInterface = nullptr;
        if (!SameGUID(iid, kGUIDIUnknown) && !SameGUID(iid, Derived::kKindGUID)) return kErrorNoInterface;
        AddRef();
        // The root may be a virtual base, at another address than the interface.
        if (SameGUID(iid, kGUIDIUnknown)) *anInterface = static_cast<IUnknown*>(this);
        else *anInterface = static_cast<Interface*>(this);
        return 0;
    }

    uint32_t AddRef() override { return ++fReferences; }

    uint32_t Release() override {
        const uint32_t remaining = --fReferences;
        if (remaining == 0) delete static_cast<Derived*>(this);
        return remaining;
    }

protected:
    ComObject() = default;
    ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

private:
    static constexpr int32_t kErrorNoInterface = static_cast<int32_t>(0x80004002);
    static constexpr int32_t kErrorPointer = static_cast<int32_t>(0x80004003);

    std::atomic<uint32_t> fReferences{1};
};

// Hands a freshly made object (one reference) to a holder. Nothing is put in when making failed.
template <class Interface, class Object>
void PutNewInto(TInterfacePtr<Interface>& holder, Object* object) {
    if (object != nullptr) holder.Attach(object);
}

}  // namespace QUARK::QXPMETADATA
