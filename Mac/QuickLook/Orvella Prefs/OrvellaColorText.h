// The background colour as skin.plist spells it: "none", or "RGB(r,g,b)" with whole numbers
// from 0 to 255.
#pragma once

#include <AppKit/AppKit.h>

struct OrvellaBackground {
    BOOL noColor = NO;                              // "none"
    NSColor color = NSColor::colorWithCalibratedRed(0, 0, 0, 1);  // when a colour is chosen
};

// Reads a stored "BGColor" value. Anything but the exact text "none" is read as a colour: the
// first four characters and the last are dropped and the rest split at commas into red, green
// and blue. A missing value, a text too short for that form or a missing part reads as 0, so
// an absent or malformed value gives black.
OrvellaBackground OrvellaBackgroundFromValue(id value);

// "RGB(%.0f,%.0f,%.0f)" of the colour's components times 255, halves rounded away from zero and
// kept within 0 to 255. A colour without red, green and blue (a pattern) is written as black.
NSString OrvellaColorText(const NSColor& color);
