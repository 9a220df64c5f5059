// Strings and data as the extractor and its library use them: decoding, UTF-16 units, external
// representations and reference counts.
#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>
#include <CoreServices/CoreServices.h>
#include <ImageIO/ImageIO.h>

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <vector>

namespace {

std::u16string Units(CFStringRef string) {
    std::u16string units(static_cast<size_t>(CFStringGetLength(string)), u'\0');
    CFStringGetCharacters(string, CFRangeMake(0, CFStringGetLength(string)), reinterpret_cast<UniChar*>(units.data()));
    return units;
}

std::string External(CFStringRef string, CFStringEncoding encoding, UInt8 lossByte = 0) {
    CFDataRef data = CFStringCreateExternalRepresentation(kCFAllocatorDefault, string, encoding, lossByte);
    if (data == nullptr) return "<none>";
    std::string bytes(reinterpret_cast<const char*>(CFDataGetBytePtr(data)), static_cast<size_t>(CFDataGetLength(data)));
    CFRelease(data);
    return bytes;
}

TEST(Strings, UTF8RoundTripsAndCountsUTF16Units) {
    const char* text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A, é, €, an emoji outside the BMP
    CFStringRef string = CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
    ASSERT_NE(string, nullptr);
    EXPECT_EQ(CFStringGetLength(string), 5);
    EXPECT_EQ(Units(string), (std::u16string{u'A', u'\u00E9', u'\u20AC', 0xD83D, 0xDE00}));
    EXPECT_EQ(External(string, kCFStringEncodingUTF8), text);
    CFRelease(string);
}

TEST(Strings, InvalidUTF8GivesNoString) {
    for (const char* bad : {"\xFF", "abc\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xE0\x80\xAF",
                            "\xF0\x80\x80\xAF", "\xF8\x88\x80\x80\x80", "\xC3\x28", "\xE2\x82"})
        EXPECT_EQ(CFStringCreateWithCString(kCFAllocatorDefault, bad, kCFStringEncodingUTF8), nullptr) << bad;
    CFStringRef empty = CFStringCreateWithCString(kCFAllocatorDefault, "", kCFStringEncodingUTF8);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(CFStringGetLength(empty), 0);
    EXPECT_EQ(External(empty, kCFStringEncodingUTF8), "");
    CFRelease(empty);
}

// glibc's converters as the reference: every Mac OS Roman byte, one character each and back, and
// UTF-8 across the lengths and their edges, decode to the same UTF-16 units.
TEST(Strings, DecodingAgreesWithIconv) {
    auto iconvUnits = [](const std::string& bytes, const char* from) {
        iconv_t converter = iconv_open("UTF-16LE", from);
        std::string out(bytes.size() * 4 + 4, '\0');
        char* in = const_cast<char*>(bytes.data());
        char* to = out.data();
        size_t inLeft = bytes.size(), outLeft = out.size();
        const bool converted = converter != reinterpret_cast<iconv_t>(-1) &&
                               iconv(converter, &in, &inLeft, &to, &outLeft) != static_cast<size_t>(-1);
        if (converter != reinterpret_cast<iconv_t>(-1)) iconv_close(converter);
        std::u16string units;
        for (size_t i = 0; converted && i + 1 < out.size() - outLeft; i += 2)
            units.push_back(static_cast<char16_t>(static_cast<UInt8>(out[i]) | static_cast<UInt8>(out[i + 1]) << 8));
        return units;
    };
    std::string all;
    for (int byte = 1; byte < 0x100; ++byte) all += static_cast<char>(byte);
    std::u16string expected = iconvUnits(all, "MACINTOSH");
    ASSERT_EQ(expected.size(), 255u);
    expected[0xF0 - 1] = u'\uF8FF';  // the Apple logo, which iconv maps elsewhere
    CFStringRef roman = CFStringCreateWithCString(kCFAllocatorDefault, all.c_str(), kCFStringEncodingMacRoman);
    EXPECT_EQ(Units(roman), expected);
    EXPECT_EQ(External(roman, kCFStringEncodingMacRoman), all);
    CFRelease(roman);
    for (const char* text : {"\x7F\xC2\x80\xDF\xBF", "\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF",
                             "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x94 \xF0\x9F\x93\x84"}) {
        CFStringRef string = CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
        ASSERT_NE(string, nullptr) << text;
        EXPECT_EQ(Units(string), iconvUnits(text, "UTF-8")) << text;
        CFRelease(string);
    }
}

TEST(Strings, CharactersWithoutAnEncodingFailOrBecomeTheLossByte) {
    CFStringRef emoji = CFStringCreateWithCString(kCFAllocatorDefault, "x\xF0\x9F\x98\x80", kCFStringEncodingUTF8);
    EXPECT_EQ(External(emoji, kCFStringEncodingMacRoman), "<none>");
    EXPECT_EQ(External(emoji, kCFStringEncodingMacRoman, '?'), "x??");
    CFRelease(emoji);
    const UniChar loneSurrogate[] = {u'a', 0xD800, u'b'};
    CFStringRef broken = CFStringCreateWithCharacters(kCFAllocatorDefault, loneSurrogate, 3);
    EXPECT_EQ(External(broken, kCFStringEncodingUTF8), "<none>");
    EXPECT_EQ(External(broken, kCFStringEncodingUTF8, '?'), "a?b");
    CFRelease(broken);
}

TEST(Strings, ReferenceCountsAndConstants) {
    CFStringRef string = CFStringCreateWithCString(kCFAllocatorDefault, "x", kCFStringEncodingUTF8);
    EXPECT_EQ(CFGetRetainCount(string), 1);
    CFRetain(string);
    EXPECT_EQ(CFGetRetainCount(string), 2);
    CFRelease(string);
    CFRelease(string);
    EXPECT_EQ(CFSTR("public.png"), kUTTypePNG);
    EXPECT_EQ(External(kUTTypeUTF8PlainText, kCFStringEncodingUTF8), "public.utf8-plain-text");
    CFRelease(kUTTypePNG);  // constants outlive any release
    EXPECT_EQ(External(kUTTypePNG, kCFStringEncodingUTF8), "public.png");
}

TEST(Images, UnsupportedRequestsGiveNothing) {
    CFMutableDataRef data = CFDataCreateMutable(kCFAllocatorDefault, 0);
    EXPECT_EQ(CGImageDestinationCreateWithData(data, CFSTR("public.jpeg"), 1, nullptr), nullptr);
    CGDataProviderRef provider = CGDataProviderCreateWithCFData(data);
    // Too little data for the size asked for.
    EXPECT_EQ(CGImageCreate(10, 10, 8, 32, 40, nullptr, kCGImageAlphaLast, provider, nullptr, false, 0), nullptr);
    CGImageDestinationRef destination = CGImageDestinationCreateWithData(data, kUTTypePNG, 1, nullptr);
    EXPECT_FALSE(CGImageDestinationFinalize(destination));  // no image added
    EXPECT_EQ(CFDataGetLength(data), 0);
    CFRelease(destination);
    CGDataProviderRelease(provider);
    CFRelease(data);
}

}  // namespace
