// The background colour as skin.plist spells it: "none", or "RGB(r,g,b)" with whole numbers
// from 0 to 255.
#pragma once

#include <AppKit/AppKit.h>

struct OrvellaBackground {
    BOOL noColor = NO;                              // "none"
    NSColor color = NSColor::colorWithCalibratedRed(0, 0, 0, 1);  // when a colour is chosen
};

// Reads a stored "BGColor" value as the generator reads it (BackgroundFromValue): anything but
// the exact text "none" is a colour, and an absent or malformed value gives black.
OrvellaBackground OrvellaBackgroundFromValue(id value);

// "RGB(%.0f,%.0f,%.0f)" of the colour's components times 255, halves rounded away from zero and
// kept within 0 to 255. A colour without red, green and blue (a pattern) is written as black.
NSString OrvellaColorText(const NSColor& color);
