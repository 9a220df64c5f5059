#include <Foundation/NSString.h>

#include <Foundation/NSArray.h>

#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

bool isContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Byte offset of the character at `index`, or the string's size when it lies past the end.
size_t byteOffsetOfCharacter(const std::string& text, NSUInteger index)
{
    size_t offset = 0;
    for (NSUInteger seen = 0; offset < text.size() && seen < index; ++seen) {
        ++offset;
        while (offset < text.size() && isContinuationByte(static_cast<unsigned char>(text[offset])))
            ++offset;
    }
    return offset;
}

const char* skipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v')
        ++p;
    return p;
}

// The leading decimal integer after blanks, clamped to the range of long long.
long long leadingInteger(const std::string& text)
{
    const char* p = skipBlanks(text.c_str());
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    unsigned long long magnitude = 0;
    bool overflow = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        unsigned digit = static_cast<unsigned>(*p - '0');
        if (magnitude > (ULLONG_MAX - digit) / 10)
            overflow = true;
        else
            magnitude = magnitude * 10 + digit;
    }
    const unsigned long long limit = negative ? static_cast<unsigned long long>(LLONG_MAX) + 1 : LLONG_MAX;
    if (overflow || magnitude >= limit)
        return negative ? LLONG_MIN : LLONG_MAX;
    return negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
}

// The leading decimal number after blanks, read the same in every locale; 0 when there is none.
double leadingReal(const std::string& text)
{
    const char* p = skipBlanks(text.c_str());
    const char* end = text.c_str() + text.size();
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    const bool startsWithDigit = (*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9');
    if (!startsWithDigit)
        return 0;
    double value = 0;
    std::from_chars(p, end, value, std::chars_format::general);
    return negative ? -value : value;
}

}  // namespace

NSUInteger NSString::length() const
{
    NSUInteger characters = 0;
    for (unsigned char byte : text_)
        characters += isContinuationByte(byte) ? 0 : 1;
    return characters;
}

BOOL NSString::hasPrefix(const NSString& prefix) const { return text_.starts_with(prefix.text_); }
BOOL NSString::hasSuffix(const NSString& suffix) const { return text_.ends_with(suffix.text_); }

int NSString::intValue() const
{
    long long value = leadingInteger(text_);
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

NSInteger NSString::integerValue() const { return static_cast<NSInteger>(leadingInteger(text_)); }
float NSString::floatValue() const
{
    const double value = leadingReal(text_);
    if (value > FLT_MAX)
        return HUGE_VALF;
    if (value < -FLT_MAX)
        return -HUGE_VALF;
    return static_cast<float>(value);
}
double NSString::doubleValue() const { return leadingReal(text_); }

NSString NSString::substringFromIndex(NSUInteger from) const { return NSString(text_.substr(byteOffsetOfCharacter(text_, from))); }

NSString NSString::substringToIndex(NSUInteger to) const { return NSString(text_.substr(0, byteOffsetOfCharacter(text_, to))); }

NSArray NSString::componentsSeparatedByString(const NSString& separator) const
{
    std::vector<NSString> parts;
    if (separator.text_.empty())
        return NSArray({*this});
    size_t start = 0;
    for (size_t found; (found = text_.find(separator.text_, start)) != std::string::npos; start = found + separator.text_.size())
        parts.emplace_back(text_.substr(start, found - start));
    parts.emplace_back(text_.substr(start));
    return NSArray(std::move(parts));
}

NSString NSString::stringByAppendingPathComponent(const NSString& component) const
{
    if (text_.empty())
        return component;
    if (text_.ends_with('/'))
        return NSString(text_ + component.text_);
    return NSString(text_ + "/" + component.text_);
}

NSString NSString::lastPathComponent() const
{
    std::string trimmed = text_;
    while (trimmed.size() > 1 && trimmed.ends_with('/'))
        trimmed.pop_back();
    size_t slash = trimmed.rfind('/');
    return slash == std::string::npos || trimmed == "/" ? NSString(trimmed) : NSString(trimmed.substr(slash + 1));
}

NSString NSString::stringByDeletingLastPathComponent() const
{
    std::string trimmed = text_;
    while (trimmed.size() > 1 && trimmed.ends_with('/'))
        trimmed.pop_back();
    size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos)
        return NSString();
    return NSString(slash == 0 ? std::string("/") : trimmed.substr(0, slash));
}
