// The string object behind CFStringRef (private to the stand-ins).
#pragma once

#include <CoreFoundation/CFObject.h>
#include <CoreFoundation/CFString.h>

#include <string>

struct __CFString : __CFObject {
    explicit __CFString(std::u16string units) : units(std::move(units)) {}
    std::u16string units;
};
