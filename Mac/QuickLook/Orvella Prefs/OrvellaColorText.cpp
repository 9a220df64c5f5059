#include "OrvellaColorText.h"

#include <algorithm>
#include <cmath>

OrvellaBackground OrvellaBackgroundFromValue(id value)
{
    auto text = dynamic_cast<const NSString*>(value);
    if (text && text->isEqualToString("none"))
        return OrvellaBackground{YES, NSColor::colorWithCalibratedRed(0, 0, 0, 1)};

    NSArray parts;
    if (text && text->length() >= 5) {
        NSString inner = text->substringFromIndex(4);
        parts = inner.substringToIndex(inner.length() - 1).componentsSeparatedByString(",");
    }
    // Parts past the end read as empty strings, which read as 0.
    const float red = parts.objectAtIndex(0).floatValue() / 255.0f;
    const float green = parts.objectAtIndex(1).floatValue() / 255.0f;
    const float blue = parts.objectAtIndex(2).floatValue() / 255.0f;
    return OrvellaBackground{NO, NSColor::colorWithCalibratedRed(red, green, blue, 1.0)};
}

// A component as a whole number from 0 to 255, halves away from zero.
static double WholeChannel(CGFloat component)
{
    const double scaled = std::round(component * 255.0);
    return std::isnan(scaled) ? 0.0 : std::clamp(scaled, 0.0, 255.0);
}

NSString OrvellaColorText(const NSColor& color)
{
    std::optional<NSColor> rgb = color.colorUsingColorSpaceName(NSCalibratedRGBColorSpace);
    const NSColor usable = rgb ? *rgb : NSColor::colorWithCalibratedRed(0, 0, 0, 1);
    return NSString::stringWithFormat("RGB(%.0f,%.0f,%.0f)", WholeChannel(usable.redComponent()), WholeChannel(usable.greenComponent()),
                                      WholeChannel(usable.blueComponent()));
}
