// The object header shared by every CoreFoundation stand-in type: internal to the stand-ins, which
// include it as <CoreFoundation/CFObject.h>; the product never does.
#pragma once

#include <CoreFoundation/CFBase.h>

#include <atomic>

struct __CFObject {
    virtual ~__CFObject() = default;
    std::atomic<CFIndex> retainCount{1};
    bool immortal = false;  // constant strings: retain and release do nothing
};
