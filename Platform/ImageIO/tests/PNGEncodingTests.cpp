// Images keep the memory they are made from, and the PNG encoder reads it row by row: what a
// PNG reader gets back is the image's straight colours, whatever the row padding and layout.
#include <CoreServices/CoreServices.h>
#include <ImageIO/ImageIO.h>

#include <gtest/gtest.h>
#include <png.h>

#include <vector>

namespace {

struct Decoded {
    png_uint_32 width = 0, height = 0;
    bool alpha = false, colour = false;
    std::vector<UInt8> rgba;
};

Decoded EncodeAndDecode(CGImageRef image, bool keepColour = false) {
    CFMutableDataRef png = CFDataCreateMutable(kCFAllocatorDefault, 0);
    CGImageDestinationRef destination = CGImageDestinationCreateWithData(png, kUTTypePNG, 1, nullptr);
    if (keepColour) CGImageDestinationSetPNGWriting(destination, IMAGEIO_PNG_FILTER_SUB, true);
    CGImageDestinationAddImage(destination, image, nullptr);
    EXPECT_TRUE(CGImageDestinationFinalize(destination));
    EXPECT_FALSE(CGImageDestinationFinalize(destination));  // once only
    CFRelease(destination);
    Decoded decoded;
    png_image reader{};
    reader.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&reader, CFDataGetBytePtr(png), static_cast<size_t>(CFDataGetLength(png)))) {
        decoded.width = reader.width, decoded.height = reader.height;
        decoded.alpha = (reader.format & PNG_FORMAT_FLAG_ALPHA) != 0;
        decoded.colour = (reader.format & PNG_FORMAT_FLAG_COLOR) != 0;
        reader.format = PNG_FORMAT_RGBA;
        decoded.rgba.resize(PNG_IMAGE_SIZE(reader));
        if (!png_image_finish_read(&reader, nullptr, decoded.rgba.data(), 0, nullptr)) decoded.rgba.clear();
    }
    png_image_free(&reader);
    CFRelease(png);
    return decoded;
}

struct Layout {
    const char* name;
    CGBitmapInfo info;
    std::vector<UInt8> pixel[2];  // two pixels as stored
    std::vector<UInt8> expected;  // both as straight RGBA
    bool alpha;                   // whether the PNG keeps an alpha channel
    bool colour;                  // whether it keeps colour channels, or only grey
};

TEST(PNGEncoding, RowsComeBackStraightWhateverThePaddingAndLayout) {
    const Layout layouts[] = {
        {"cairo's premultiplied BGRA", kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little,
         {{0, 0, 128, 128}, {255, 255, 255, 255}}, {255, 0, 0, 128, 255, 255, 255, 255}, true, true},
        {"opaque BGRA, written without alpha", kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little,
         {{10, 20, 30, 255}, {0, 0, 0, 255}}, {30, 20, 10, 255, 0, 0, 0, 255}, false, true},
        {"opaque greys, written as grey", kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little,
         {{77, 77, 77, 255}, {255, 255, 255, 255}}, {77, 77, 77, 255, 255, 255, 255, 255}, false, false},
        {"greys but one nearly grey pixel", kCGImageAlphaNoneSkipLast,
         {{77, 77, 77, 0}, {200, 200, 201, 0}}, {77, 77, 77, 255, 200, 200, 201, 255}, false, true},
        {"translucent greys keep colour and alpha", kCGImageAlphaLast,
         {{9, 9, 9, 9}, {0, 0, 0, 0}}, {9, 9, 9, 9, 0, 0, 0, 0}, true, true},
        {"straight RGBA", kCGImageAlphaLast, {{1, 2, 3, 4}, {200, 100, 50, 0}}, {1, 2, 3, 4, 200, 100, 50, 0}, true, true},
    };
    constexpr size_t kWidth = 2, kHeight = 3, kBytesPerRow = 12;  // four bytes of padding per row
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        auto* memory = new std::vector<UInt8>(kBytesPerRow * kHeight, 0xEE);  // padding that must not show
        for (size_t y = 0; y < kHeight; ++y)
            for (size_t x = 0; x < kWidth; ++x) std::copy_n(layout.pixel[x].begin(), 4, memory->begin() + y * kBytesPerRow + x * 4);
        static int released;
        released = 0;
        CGDataProviderRef provider = CGDataProviderCreateWithData(memory, memory->data(), memory->size(),
                                                                  [](void* info, const void*, size_t) {
                                                                      delete static_cast<std::vector<UInt8>*>(info);
                                                                      ++released;
                                                                  });
        CGImageRef image = CGImageCreate(kWidth, kHeight, 8, 32, kBytesPerRow, nullptr, layout.info, provider, nullptr,
                                         false, kCGRenderingIntentDefault);
        CGDataProviderRelease(provider);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(released, 0) << "the image keeps its provider's memory";

        const Decoded decoded = EncodeAndDecode(image);
        EXPECT_EQ(decoded.width, kWidth);
        EXPECT_EQ(decoded.height, kHeight);
        EXPECT_EQ(decoded.alpha, layout.alpha);
        EXPECT_EQ(decoded.colour, layout.colour);
        std::vector<UInt8> expected;
        for (size_t y = 0; y < kHeight; ++y) expected.insert(expected.end(), layout.expected.begin(), layout.expected.end());
        EXPECT_EQ(decoded.rgba, expected);
        // Written to keep its colour (thumbnails), the same pixels come back with colour channels.
        const Decoded coloured = EncodeAndDecode(image, true);
        EXPECT_TRUE(coloured.colour);
        EXPECT_EQ(coloured.rgba, expected);

        CGImageRelease(image);
        EXPECT_EQ(released, 1);
    }
}

}  // namespace
