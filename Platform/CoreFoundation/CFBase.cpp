#include <CoreFoundation/CFObject.h>

#include <cstdlib>

const CFAllocatorRef kCFAllocatorDefault = nullptr;

static __CFObject* AsObject(CFTypeRef object) {
    // The platform crashes on a null object; fail loudly too rather than corrupt memory.
    if (object == nullptr) std::abort();
    return static_cast<__CFObject*>(const_cast<void*>(object));
}

CFTypeRef CFRetain(CFTypeRef object) {
    __CFObject* header = AsObject(object);
    if (!header->immortal) header->retainCount.fetch_add(1, std::memory_order_relaxed);
    return object;
}

void CFRelease(CFTypeRef object) {
    __CFObject* header = AsObject(object);
    if (header->immortal) return;
    if (header->retainCount.fetch_sub(1, std::memory_order_acq_rel) == 1) delete header;
}

CFIndex CFGetRetainCount(CFTypeRef object) {
    return AsObject(object)->retainCount.load(std::memory_order_relaxed);
}
