// The object header shared by every CoreFoundation stand-in type: internal to the stand-ins, which
// include it as <CoreFoundation/CFObject.h>; the product never does.
#pragma once

#include <CoreFoundation/CFBase.h>

#include <atomic>

// Other stand-ins derive their types from it, so its type information is exported.
struct __attribute__((visibility("default"))) __CFObject {
    virtual ~__CFObject() = default;
    std::atomic<CFIndex> retainCount{1};
    bool immortal = false;  // constant strings: retain and release do nothing
};
