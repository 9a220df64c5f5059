#include "OrvellaColorText.h"

#include "SkinSettings.h"

#include <algorithm>
#include <cmath>

OrvellaBackground OrvellaBackgroundFromValue(id value)
{
    const std::optional<SkinBackgroundColor> color = BackgroundFromValue(value);
    if (!color)
        return OrvellaBackground{YES, NSColor::colorWithCalibratedRed(0, 0, 0, 1)};
    return OrvellaBackground{NO, NSColor::colorWithCalibratedRed(color->red, color->green, color->blue, 1.0)};
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
