// Sends a core Apple event (class 'aevt') to the system process, e.g. kAEReallyLogOut.
#pragma once

#include <AE/AE.h>

// 0 on success, otherwise the status of the first step that failed.
OSStatus SendAppleEventToSystemProcess(AEEventID EventToSend);
