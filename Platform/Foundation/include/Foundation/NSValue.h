// Numbers as a property list holds them: integers, reals and booleans.
#pragma once

#include "NSString.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

// A real number's integer part, limited to the range of long long; 0 for NaN.
inline long long NSClampedInteger(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9.2233720368547758e18)
        return LLONG_MAX;
    if (value <= -9.2233720368547758e18)
        return LLONG_MIN;
    return static_cast<long long>(value);
}

class NSNumber : public NSObject {
public:
    static NSNumber numberWithLongLong(long long value) { return NSNumber(Kind::Integer, value, static_cast<double>(value)); }
    static NSNumber numberWithDouble(double value) { return NSNumber(Kind::Real, NSClampedInteger(value), value); }
    static NSNumber numberWithBool(BOOL value) { return NSNumber(Kind::Boolean, value ? 1 : 0, value ? 1.0 : 0.0); }

    int intValue() const override { return static_cast<int>(std::clamp<long long>(integer_, INT_MIN, INT_MAX)); }
    long long longLongValue() const { return integer_; }
    float floatValue() const override { return static_cast<float>(real_); }
    double doubleValue() const override { return real_; }
    BOOL boolValue() const { return integer_ != 0; }
    NSString stringValue() const { return NSString(description()); }
    std::string description() const override;

    bool isReal() const { return kind_ == Kind::Real; }
    bool isBoolean() const { return kind_ == Kind::Boolean; }

private:
    enum class Kind { Integer, Real, Boolean };
    NSNumber(Kind kind, long long integer, double real) : kind_(kind), integer_(integer), real_(real) {}
    Kind kind_;
    long long integer_;
    double real_;
};
