// Apple events: building one for a target and sending it.
#pragma once

#include "AEDataModel.h"

enum : AEEventClass { kCoreEventClass = fourCharCode("aevt") };

enum : AEEventID {
    kAEOpenApplication = fourCharCode("oapp"),
    kAEQuitApplication = fourCharCode("quit"),
    kAELogOut = fourCharCode("logo"),
    kAEReallyLogOut = fourCharCode("rlgo"),
    kAEShowRestartDialog = fourCharCode("rrst"),
    kAEShowShutdownDialog = fourCharCode("rsdn"),
};

enum { kAutoGenerateReturnID = -1, kAnyTransactionID = 0 };

enum : AESendMode {
    kAENoReply = 0x00000001,
    kAEQueueReply = 0x00000002,
    kAEWaitReply = 0x00000003,
};

enum : AESendPriority { kAENormalPriority = 0x00000000, kAEHighPriority = 0x00000001 };

enum { kAEDefaultTimeout = -1, kNoTimeOut = -2 };

typedef Boolean (*AEIdleUPP)(void* theEvent, SInt32* sleepTime, void** mouseRgn);
typedef Boolean (*AEFilterUPP)(void* theEvent, SInt32 returnID, SInt32 transactionID, const AEAddressDesc* sender);

OSErr AECreateAppleEvent(AEEventClass theAEEventClass, AEEventID theAEEventID, const AEAddressDesc* target,
                         AEReturnID returnID, AETransactionID transactionID, AppleEvent* result);

// Delivers the event. The system process understands the core log-out event; anything else it
// does not handle. Only kAENoReply is supported, so *reply always comes back a null descriptor.
OSStatus AESend(const AppleEvent* theAppleEvent, AppleEvent* reply, AESendMode sendMode,
                AESendPriority sendPriority, SInt32 timeOutInTicks, AEIdleUPP idleProc, AEFilterUPP filterProc);
