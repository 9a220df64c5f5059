#include <AppKit/AppKit.h>

#include <gtest/gtest.h>

TEST(Color, ConversionToRgbForEverySpaceThatHasOne)
{
    auto grey = NSColor::colorWithCalibratedWhite(0.25, 0.5).colorUsingColorSpaceName(NSCalibratedRGBColorSpace);
    ASSERT_TRUE(grey);
    EXPECT_DOUBLE_EQ(grey->redComponent(), 0.25);
    EXPECT_DOUBLE_EQ(grey->blueComponent(), 0.25);
    EXPECT_DOUBLE_EQ(grey->alphaComponent(), 0.5);

    auto magenta = NSColor::colorWithDeviceCyan(0, 1, 0, 0, 1).colorUsingColorSpaceName(NSCalibratedRGBColorSpace);
    ASSERT_TRUE(magenta);
    EXPECT_DOUBLE_EQ(magenta->redComponent(), 1.0);
    EXPECT_DOUBLE_EQ(magenta->greenComponent(), 0.0);
    EXPECT_DOUBLE_EQ(magenta->blueComponent(), 1.0);

    auto device = NSColor::colorWithDeviceRed(0.1, 0.2, 0.3, 1).colorUsingColorSpaceName(NSCalibratedRGBColorSpace);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->colorSpaceName(), NSCalibratedRGBColorSpace);
    EXPECT_DOUBLE_EQ(device->blueComponent(), 0.3);
}

TEST(Color, PatternsHaveNoRgbAndReadAsZeroInsteadOfFailing)
{
    NSColor pattern = NSColor::colorWithPatternImageNamed("Bricks");
    EXPECT_FALSE(pattern.colorUsingColorSpaceName(NSCalibratedRGBColorSpace));
    EXPECT_EQ(pattern.redComponent(), 0.0);
    EXPECT_FALSE(NSColor::colorWithCalibratedWhite(1, 1).colorUsingColorSpaceName("NSNamedColorSpace"));
}
