// Immutable text held as UTF-8. Indexes and lengths count Unicode characters (for the Basic
// Multilingual Plane the same as the platform's UTF-16 units). A range outside the string is
// clamped rather than raising, so no call here ends the process.
#pragma once

#include "NSObjCRuntime.h"
#include "NSStringFormat.h"

#include <string>
#include <string_view>

class NSArray;

class NSString : public NSObject {
public:
    NSString() = default;
    NSString(const char* utf8) : text_(utf8 ? utf8 : "") {}
    NSString(std::string utf8) : text_(std::move(utf8)) {}
    NSString(std::string_view utf8) : text_(utf8) {}

    static NSString stringWithUTF8String(const char* utf8) { return NSString(utf8); }

    // printf conversions for numbers and C strings, "%@" for an object (an NSString, a pointer
    // to an object, or nil which prints "(null)"), "%%" for a percent sign.
    template <typename... Arguments>
    static NSString stringWithFormat(const char* format, const Arguments&... arguments)
    {
        return NSString(NSFormatString(format, {NSFormatArgument(arguments)...}));
    }

    const char* UTF8String() const { return text_.c_str(); }
    const std::string& utf8() const { return text_; }
    NSUInteger length() const;

    BOOL isEqualToString(const NSString& other) const { return text_ == other.text_; }
    BOOL hasPrefix(const NSString& prefix) const;
    BOOL hasSuffix(const NSString& suffix) const;

    // Leading blanks are skipped and the leading number is read; 0 when there is none.
    int intValue() const override;
    NSInteger integerValue() const;
    float floatValue() const override;
    double doubleValue() const override;
    std::string description() const override { return text_; }

    NSString substringFromIndex(NSUInteger from) const;
    NSString substringToIndex(NSUInteger to) const;
    NSArray componentsSeparatedByString(const NSString& separator) const;
    NSString stringByAppendingString(const NSString& tail) const { return NSString(text_ + tail.text_); }
    NSString stringByAppendingPathComponent(const NSString& component) const;
    NSString lastPathComponent() const;
    NSString stringByDeletingLastPathComponent() const;

    bool operator==(const NSString& other) const { return text_ == other.text_; }
    bool operator<(const NSString& other) const { return text_ < other.text_; }

private:
    std::string text_;
};

// What the platform writes as @"text".
inline NSString operator""_ns(const char* text, std::size_t length) { return NSString(std::string(text, length)); }
