// Colours in the platform's colour spaces. Components are read in the colour's own space:
// redComponent and its kin answer for RGB colours only (the platform raises on others; here they
// answer 0), so convert first with colorUsingColorSpaceName.
#pragma once

#include <Foundation/Foundation.h>

#include <optional>

extern const NSString NSCalibratedRGBColorSpace;
extern const NSString NSDeviceRGBColorSpace;
extern const NSString NSCalibratedWhiteColorSpace;
extern const NSString NSDeviceWhiteColorSpace;
extern const NSString NSDeviceCMYKColorSpace;
extern const NSString NSPatternColorSpace;

class NSColor : public NSObject {
public:
    static NSColor colorWithCalibratedRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static NSColor colorWithDeviceRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static NSColor colorWithCalibratedWhite(CGFloat white, CGFloat alpha);
    static NSColor colorWithDeviceCyan(CGFloat cyan, CGFloat magenta, CGFloat yellow, CGFloat black, CGFloat alpha);
    // A colour that paints with a picture: it has no components of any colour space.
    static NSColor colorWithPatternImageNamed(const NSString& name);
    static NSColor blackColor() { return colorWithCalibratedWhite(0, 1); }
    static NSColor whiteColor() { return colorWithCalibratedWhite(1, 1); }

    const NSString& colorSpaceName() const { return space_; }
    // The same colour in another space: RGB, white and CMYK convert into RGB and white; nil when
    // there is no conversion (a pattern, or a space this stand-in does not know).
    std::optional<NSColor> colorUsingColorSpaceName(const NSString& space) const;

    CGFloat redComponent() const { return isRGB() ? components_[0] : 0; }
    CGFloat greenComponent() const { return isRGB() ? components_[1] : 0; }
    CGFloat blueComponent() const { return isRGB() ? components_[2] : 0; }
    CGFloat whiteComponent() const { return isWhite() ? components_[0] : 0; }
    CGFloat alphaComponent() const { return alpha_; }
    std::string description() const override;

private:
    NSColor(NSString space, CGFloat c0, CGFloat c1, CGFloat c2, CGFloat c3, CGFloat alpha);
    bool isRGB() const;
    bool isWhite() const;
    NSString space_;
    CGFloat components_[4];
    CGFloat alpha_;
};
