// Ends the caller's desktop session through systemd-logind: how the system process carries out
// the core log-out event here.
#pragma once

#include <CoreFoundation/CFBase.h>

namespace ae {

// noErr once logind was asked to terminate the session; procNotFound when the caller is in no
// session; errAEEventFailed when loginctl could not be run or refused.
OSStatus terminateCallersSession();

} // namespace ae
