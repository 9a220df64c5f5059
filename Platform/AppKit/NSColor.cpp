#include <AppKit/NSColor.h>

#include <algorithm>

const NSString NSCalibratedRGBColorSpace("NSCalibratedRGBColorSpace");
const NSString NSDeviceRGBColorSpace("NSDeviceRGBColorSpace");
const NSString NSCalibratedWhiteColorSpace("NSCalibratedWhiteColorSpace");
const NSString NSDeviceWhiteColorSpace("NSDeviceWhiteColorSpace");
const NSString NSDeviceCMYKColorSpace("NSDeviceCMYKColorSpace");
const NSString NSPatternColorSpace("NSPatternColorSpace");

NSColor::NSColor(NSString space, CGFloat c0, CGFloat c1, CGFloat c2, CGFloat c3, CGFloat alpha)
    : space_(std::move(space)), components_{c0, c1, c2, c3}, alpha_(alpha)
{
}

NSColor NSColor::colorWithCalibratedRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    return NSColor(NSCalibratedRGBColorSpace, red, green, blue, 0, alpha);
}

NSColor NSColor::colorWithDeviceRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    return NSColor(NSDeviceRGBColorSpace, red, green, blue, 0, alpha);
}

NSColor NSColor::colorWithCalibratedWhite(CGFloat white, CGFloat alpha)
{
    return NSColor(NSCalibratedWhiteColorSpace, white, 0, 0, 0, alpha);
}

NSColor NSColor::colorWithDeviceCyan(CGFloat cyan, CGFloat magenta, CGFloat yellow, CGFloat black, CGFloat alpha)
{
    return NSColor(NSDeviceCMYKColorSpace, cyan, magenta, yellow, black, alpha);
}

NSColor NSColor::colorWithPatternImageNamed(const NSString&) { return NSColor(NSPatternColorSpace, 0, 0, 0, 0, 1); }

bool NSColor::isRGB() const { return space_ == NSCalibratedRGBColorSpace || space_ == NSDeviceRGBColorSpace; }
bool NSColor::isWhite() const { return space_ == NSCalibratedWhiteColorSpace || space_ == NSDeviceWhiteColorSpace; }

std::optional<NSColor> NSColor::colorUsingColorSpaceName(const NSString& space) const
{
    CGFloat red, green, blue;
    if (isRGB()) {
        red = components_[0], green = components_[1], blue = components_[2];
    } else if (isWhite()) {
        red = green = blue = components_[0];
    } else if (space_ == NSDeviceCMYKColorSpace) {
        const CGFloat black = components_[3];
        red = (1 - components_[0]) * (1 - black);
        green = (1 - components_[1]) * (1 - black);
        blue = (1 - components_[2]) * (1 - black);
    } else {
        return std::nullopt;
    }
    if (space == NSCalibratedRGBColorSpace || space == NSDeviceRGBColorSpace)
        return NSColor(space, red, green, blue, 0, alpha_);
    if (space == NSCalibratedWhiteColorSpace || space == NSDeviceWhiteColorSpace)
        return NSColor(space, 0.299 * red + 0.587 * green + 0.114 * blue, 0, 0, 0, alpha_);
    return std::nullopt;
}

std::string NSColor::description() const
{
    return NSString::stringWithFormat("%@ %g %g %g %g %g", space_, components_[0], components_[1], components_[2], components_[3], alpha_)
        .utf8();
}
