#include <CoreFoundation/CFData.h>

#include <CoreFoundation/CFObject.h>

#include <cstdlib>
#include <vector>

struct __CFData : __CFObject {
    std::vector<UInt8> bytes;
};

static __CFData* Storage(CFDataRef theData) {
    if (theData == nullptr) std::abort();
    return const_cast<__CFData*>(theData);
}

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length) {
    if (length < 0 || (bytes == nullptr && length != 0)) return nullptr;
    auto* data = new __CFData();
    data->bytes.assign(bytes, bytes + length);
    return data;
}

CFMutableDataRef CFDataCreateMutable(CFAllocatorRef, CFIndex capacity) {
    auto* data = new __CFData();
    if (capacity > 0) data->bytes.reserve(static_cast<size_t>(capacity));
    return data;
}

CFIndex CFDataGetLength(CFDataRef theData) { return static_cast<CFIndex>(Storage(theData)->bytes.size()); }

const UInt8* CFDataGetBytePtr(CFDataRef theData) { return Storage(theData)->bytes.data(); }

UInt8* CFDataGetMutableBytePtr(CFMutableDataRef theData) { return Storage(theData)->bytes.data(); }

void CFDataAppendBytes(CFMutableDataRef theData, const UInt8* bytes, CFIndex length) {
    if (length <= 0) return;
    Storage(theData)->bytes.insert(Storage(theData)->bytes.end(), bytes, bytes + length);
}
