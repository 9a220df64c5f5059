#pragma once

#include <memory>

namespace QUARK::QXPMETADATA {

// Owns a C library's object (cairo's, pango's) and frees it with that library's own function.
template <class T, void (*Free)(T*)>
struct FreeingDeleter {
    void operator()(T* object) const { Free(object); }
};

template <class T, void (*Free)(T*)>
using FreeingPtr = std::unique_ptr<T, FreeingDeleter<T, Free>>;

}  // namespace QUARK::QXPMETADATA
