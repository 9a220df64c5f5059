#include <Foundation/NSValue.h>

#include <cstdio>

std::string NSNumber::description() const
{
    if (kind_ != Kind::Real)
        return std::to_string(integer_);
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", real_);
    return text;
}
