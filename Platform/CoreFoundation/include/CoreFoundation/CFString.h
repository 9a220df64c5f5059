// Immutable Unicode strings held as UTF-16 code units, as on the platform.
#pragma once

#include "CFBase.h"

typedef UInt32 CFStringEncoding;

enum : CFStringEncoding {
    kCFStringEncodingMacRoman = 0,
    kCFStringEncodingASCII = 0x0600,
    kCFStringEncodingUTF8 = 0x08000100,
    kCFStringEncodingUTF16 = 0x0100,
    kCFStringEncodingUTF16BE = 0x10000100,
    kCFStringEncodingUTF16LE = 0x14000100,
};

enum { kCFCompareEqualTo = 0, kCFCompareLessThan = -1, kCFCompareGreaterThan = 1 };
typedef CFIndex CFComparisonResult;

// NULL when the bytes are not valid in that encoding (Mac OS Roman accepts every byte).
CF_EXPORT CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr, CFStringEncoding encoding);
CF_EXPORT CFStringRef CFStringCreateWithBytes(CFAllocatorRef alloc, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation);
CF_EXPORT CFStringRef CFStringCreateWithCharacters(CFAllocatorRef alloc, const UniChar* chars, CFIndex numChars);

// Length in UTF-16 code units: a character outside the BMP counts two.
CF_EXPORT CFIndex CFStringGetLength(CFStringRef theString);
CF_EXPORT void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar* buffer);

// Writes a zero-terminated string; false when it does not fit or cannot be encoded.
CF_EXPORT Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize,
                                     CFStringEncoding encoding);
CF_EXPORT CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);

// The string's bytes in that encoding without a terminating zero. A character the encoding
// cannot hold becomes lossByte, or makes the call fail (NULL) when lossByte is 0.
CF_EXPORT CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef alloc, CFStringRef theString,
                                               CFStringEncoding encoding, UInt8 lossByte);

CF_EXPORT CFComparisonResult CFStringCompare(CFStringRef a, CFStringRef b, CFOptionFlags options);

// Interned constant strings; retain and release do nothing on them.
CF_EXPORT CFStringRef __CFStringMakeConstantString(const char* cStr);
#define CFSTR(cStr) __CFStringMakeConstantString("" cStr "")
