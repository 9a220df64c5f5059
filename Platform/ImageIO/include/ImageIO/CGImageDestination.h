// Image encoding into a data buffer; PNG is the one type written here.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>

typedef struct CGImageDestination* CGImageDestinationRef;

// NULL for a type other than kUTTypePNG ("public.png") or a null buffer.
CGImageDestinationRef CGImageDestinationCreateWithData(CFMutableDataRef data, CFStringRef type, size_t count,
                                                       CFDictionaryRef options);
void CGImageDestinationAddImage(CGImageDestinationRef idst, CGImageRef image, CFDictionaryRef properties);
// Encodes the images added so far and appends them to the buffer; false when nothing could be written.
bool CGImageDestinationFinalize(CGImageDestinationRef idst);
