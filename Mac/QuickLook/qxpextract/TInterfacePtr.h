// The holder that owns one reference to a vendor interface. The vendor library fills holders
// that are passed to it and returns them by value, so it is built from this same header.
#pragma once

namespace QUARK::COM {

class IUnknown;

template <class T>
class TInterfacePtr {
public:
    TInterfacePtr() = default;

    TInterfacePtr(const TInterfacePtr& other) : fInterface(other.fInterface) {
        if (fInterface != nullptr) Root(fInterface)->AddRef();
    }

    // Shares the other holder's value; the new reference is taken before the old one is given
    // up, so assigning a holder to itself (or to a holder of the same value) keeps the count.
    TInterfacePtr& operator=(const TInterfacePtr& other) {
        T* previous = fInterface;
        fInterface = other.fInterface;
        if (fInterface != nullptr) Root(fInterface)->AddRef();
        if (previous != nullptr) Root(previous)->Release();
        return *this;
    }

    virtual ~TInterfacePtr() { Clear(); }

    // Takes over one reference that the caller already owns (used by whoever fills the holder).
    void Attach(T* anInterface) {
        T* previous = fInterface;
        fInterface = anInterface;
        if (previous != nullptr) Root(previous)->Release();
    }

    void Clear() {
        T* previous = fInterface;
        fInterface = nullptr;
        if (previous != nullptr) Root(previous)->Release();
    }

    T* Get() const { return fInterface; }
    T* operator->() const { return fInterface; }
    bool IsEmpty() const { return fInterface == nullptr; }

private:
    // Interfaces that derive from the root virtually must be converted before the call.
    static IUnknown* Root(T* anInterface) { return static_cast<IUnknown*>(anInterface); }

    T* fInterface = nullptr;
};

}  // namespace QUARK::COM
