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

// The platform's PNG row filters (kCGImagePropertyPNGCompressionFilter).
enum { IMAGEIO_PNG_NO_FILTERS = 0x00, IMAGEIO_PNG_FILTER_NONE = 0x08, IMAGEIO_PNG_FILTER_SUB = 0x10 };

// Not the platform's, which takes the filter from the properties dictionary and the colour type
// from the image's colour space: how the PNG is written. By default rows are not filtered and a
// picture in greys only is written as a grey PNG (the smallest file for a page of black on white);
// with keepColour, it keeps its colour channels. Call before finalizing.
void CGImageDestinationSetPNGWriting(CGImageDestinationRef idst, int compressionFilter, bool keepColour);
