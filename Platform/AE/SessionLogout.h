// Ends the caller's desktop session through systemd-logind, asked over the system bus: how the
// system process carries out the core log-out event here.
#pragma once

#include <CoreFoundation/CFBase.h>

namespace ae {

// noErr once logind agreed to terminate the session: the one named by XDG_SESSION_ID, else this
// process's, else the user's graphical session. procNotFound when there is none; errAEEventFailed
// when the bus cannot be reached or logind refuses.
OSStatus terminateCallersSession();

} // namespace ae
