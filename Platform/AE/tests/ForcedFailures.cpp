// Makes a step of the Apple Event Manager fail: AE_FAIL_<function> in the environment holds the
// status it returns.
#include "AEDescriptor.h"

#include <cstdlib>
#include <string>

OSStatus ae::forcedFailure(const char* function)
{
    const std::string variable = std::string("AE_FAIL_") + function;
    const char* value = std::getenv(variable.c_str());
    if (value == nullptr || *value == '\0')
        return noErr;
    return static_cast<OSStatus>(std::strtol(value, nullptr, 10));
}
