// Diagnostics: one line to standard error ("<date> <program>[<pid>] <text>") and the same text to
// the system log.
#pragma once

#include "NSString.h"

void NSLogString(const NSString& line);

template <typename... Arguments>
void NSLog(const char* format, const Arguments&... arguments)
{
    NSLogString(NSString::stringWithFormat(format, arguments...));
}
