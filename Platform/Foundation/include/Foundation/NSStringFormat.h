// Type-safe formatting behind stringWithFormat and NSLog: each argument is captured with its kind
// and each conversion of the format takes the next argument, so a mismatch prints something
// sensible instead of reading the wrong bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>

class NSObject;
class NSString;

class NSFormatArgument {
public:
    enum class Kind { Signed, Unsigned, Real, Text, Pointer };

    template <typename T>
        requires std::is_integral_v<T> || std::is_enum_v<T>
    NSFormatArgument(T value)
    {
        if constexpr (std::is_signed_v<T> || std::is_enum_v<T>) {
            kind_ = Kind::Signed;
            signed_ = static_cast<long long>(value);
        } else {
            kind_ = Kind::Unsigned;
            unsigned_ = static_cast<unsigned long long>(value);
        }
    }
    NSFormatArgument(double value) : kind_(Kind::Real), real_(value) {}
    NSFormatArgument(float value) : kind_(Kind::Real), real_(value) {}
    NSFormatArgument(const char* text) : kind_(Kind::Text), text_(text ? text : "(null)") {}
    NSFormatArgument(const std::string& text) : kind_(Kind::Text), text_(text) {}
    NSFormatArgument(const NSObject& object);
    NSFormatArgument(const NSObject* object);
    NSFormatArgument(std::nullptr_t) : kind_(Kind::Text), text_("(null)") {}
    NSFormatArgument(const void* pointer) : kind_(Kind::Pointer), pointer_(pointer) {}

    Kind kind() const { return kind_; }
    long long asSigned() const;
    unsigned long long asUnsigned() const;
    double asReal() const;
    std::string asText() const;
    const void* asPointer() const { return pointer_; }

private:
    Kind kind_ = Kind::Signed;
    long long signed_ = 0;
    unsigned long long unsigned_ = 0;
    double real_ = 0;
    std::string text_;
    const void* pointer_ = nullptr;
};

std::string NSFormatString(const char* format, std::initializer_list<NSFormatArgument> arguments);
