// Base types of the CoreFoundation stand-in: reference-counted opaque objects.
#pragma once

#include <cstddef>
#include <cstdint>

typedef uint8_t UInt8;
typedef uint16_t UInt16;
typedef uint32_t UInt32;
typedef uint64_t UInt64;
typedef int8_t SInt8;
typedef int16_t SInt16;
typedef int32_t SInt32;
typedef int64_t SInt64;
typedef unsigned char Boolean;
typedef UInt16 UniChar;
typedef SInt32 OSStatus;
typedef SInt16 OSErr;
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef unsigned long ItemCount;
typedef long CFIndex;
typedef unsigned long CFOptionFlags;
typedef double CGFloat;

enum { noErr = 0, paramErr = -50, memFullErr = -108 };

// What the CoreFoundation library exports; the rest of it stays inside.
#define CF_EXPORT extern __attribute__((visibility("default")))

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

struct CFRange {
    CFIndex location;
    CFIndex length;
};
inline CFRange CFRangeMake(CFIndex location, CFIndex length) { return CFRange{location, length}; }

typedef const void* CFTypeRef;
typedef const struct __CFAllocator* CFAllocatorRef;
typedef const struct __CFString* CFStringRef;
typedef struct __CFString* CFMutableStringRef;
typedef const struct __CFData* CFDataRef;
typedef struct __CFData* CFMutableDataRef;
typedef const struct __CFArray* CFArrayRef;
typedef const struct __CFDictionary* CFDictionaryRef;

// Every allocator is the default one here; the constants exist so calls read as on the platform.
CF_EXPORT const CFAllocatorRef kCFAllocatorDefault;

CF_EXPORT CFTypeRef CFRetain(CFTypeRef object);
CF_EXPORT void CFRelease(CFTypeRef object);
CF_EXPORT CFIndex CFGetRetainCount(CFTypeRef object);
