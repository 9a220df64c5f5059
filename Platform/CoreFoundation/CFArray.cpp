#include <CoreFoundation/CFArray.h>

#include <CoreFoundation/CFObject.h>

#include <cstdlib>
#include <vector>

const CFArrayCallBacks kCFTypeArrayCallBacks = {0};

struct __CFArray : __CFObject {
    std::vector<CFTypeRef> values;
    ~__CFArray() override {
        for (CFTypeRef value : values) CFRelease(value);
    }
};

CFArrayRef CFArrayCreate(CFAllocatorRef, const void** values, CFIndex numValues, const CFArrayCallBacks*) {
    auto* array = new __CFArray();
    for (CFIndex i = 0; i < numValues; ++i) array->values.push_back(CFRetain(values[i]));
    return array;
}

CFIndex CFArrayGetCount(CFArrayRef theArray) {
    if (theArray == nullptr) std::abort();
    return static_cast<CFIndex>(theArray->values.size());
}

const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx) {
    if (theArray == nullptr || idx < 0 || idx >= CFArrayGetCount(theArray)) std::abort();
    return theArray->values[static_cast<size_t>(idx)];
}
