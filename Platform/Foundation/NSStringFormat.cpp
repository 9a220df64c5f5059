#include <Foundation/NSStringFormat.h>

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSValue.h>

#include <cstdio>
#include <cstring>
#include <vector>

NSFormatArgument::NSFormatArgument(const NSObject& object) : kind_(Kind::Text), text_(object.description()) {}

NSFormatArgument::NSFormatArgument(const NSObject* object)
    : kind_(Kind::Text), text_(object ? object->description() : std::string("(null)"))
{
}

long long NSFormatArgument::asSigned() const
{
    switch (kind_) {
    case Kind::Signed: return signed_;
    case Kind::Unsigned: return static_cast<long long>(unsigned_);
    case Kind::Real: return NSClampedInteger(real_);
    default: return 0;
    }
}

unsigned long long NSFormatArgument::asUnsigned() const
{
    switch (kind_) {
    case Kind::Signed: return static_cast<unsigned long long>(signed_);
    case Kind::Unsigned: return unsigned_;
    case Kind::Real: return static_cast<unsigned long long>(NSClampedInteger(real_));
    default: return 0;
    }
}

double NSFormatArgument::asReal() const
{
    switch (kind_) {
    case Kind::Signed: return static_cast<double>(signed_);
    case Kind::Unsigned: return static_cast<double>(unsigned_);
    case Kind::Real: return real_;
    default: return 0;
    }
}

std::string NSFormatArgument::asText() const
{
    char number[64];
    switch (kind_) {
    case Kind::Signed: std::snprintf(number, sizeof number, "%lld", signed_); return number;
    case Kind::Unsigned: std::snprintf(number, sizeof number, "%llu", unsigned_); return number;
    case Kind::Real: std::snprintf(number, sizeof number, "%g", real_); return number;
    case Kind::Pointer: std::snprintf(number, sizeof number, "%p", pointer_); return number;
    case Kind::Text: return text_;
    }
    return {};
}

namespace {

// Formats one value with a printf directive that has already lost its length modifier.
template <typename Value>
std::string printOne(const std::string& directive, Value value)
{
    int needed = std::snprintf(nullptr, 0, directive.c_str(), value);
    if (needed < 0)
        return {};
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::snprintf(buffer.data(), buffer.size(), directive.c_str(), value);
    return std::string(buffer.data(), static_cast<size_t>(needed));
}

}  // namespace

std::string NSFormatString(const char* format, std::initializer_list<NSFormatArgument> arguments)
{
    std::string out;
    if (!format)
        return out;
    const NSFormatArgument* next = arguments.begin();
    const NSFormatArgument* const last = arguments.end();
    static const NSFormatArgument missing(0);
    auto take = [&]() -> const NSFormatArgument& { return next == last ? missing : *next++; };

    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out += '%';
            continue;
        }
        std::string directive = "%";
        while (*p && std::strchr("-+ #0'", *p))
            directive += *p++;
        auto copyNumberOrStar = [&] {
            if (*p == '*') {
                directive += std::to_string(take().asSigned());
                ++p;
            }
            while (*p >= '0' && *p <= '9')
                directive += *p++;
        };
        copyNumberOrStar();
        if (*p == '.') {
            directive += *p++;
            copyNumberOrStar();
        }
        while (*p && std::strchr("hlqLzjt", *p))
            ++p;  // the argument's own kind decides the width
        const char conversion = *p;
        if (!conversion) {
            out.append(start);  // a dangling "%" is printed as it stands
            break;
        }
        switch (conversion) {
        case '@':
        case 's': out += printOne(directive + "s", take().asText().c_str()); break;
        case 'd':
        case 'i': out += printOne(directive + "lld", take().asSigned()); break;
        case 'u':
        case 'o':
        case 'x':
        case 'X': out += printOne(directive + "ll" + conversion, take().asUnsigned()); break;
        case 'c': out += printOne(directive + "c", static_cast<int>(take().asSigned())); break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A': out += printOne(directive + conversion, take().asReal()); break;
        case 'p': out += printOne(directive + "p", take().asPointer()); break;
        default: out.append(start, p + 1); break;  // unknown conversions are printed as they stand
        }
    }
    return out;
}
