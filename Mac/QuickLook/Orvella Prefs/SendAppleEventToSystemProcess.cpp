#include "SendAppleEventToSystemProcess.h"

OSStatus SendAppleEventToSystemProcess(AEEventID EventToSend)
{
    AEAddressDesc targetDesc;
    static const ProcessSerialNumber kPSNOfSystemProcess = {0, kSystemProcess};
    AppleEvent eventReply = {typeNull, nullptr};
    AppleEvent appleEventToSend = {typeNull, nullptr};

    OSErr error = AECreateDesc(typeProcessSerialNumber, &kPSNOfSystemProcess, sizeof(kPSNOfSystemProcess),
                               &targetDesc);
    if (error != noErr)
        return error;

    error = AECreateAppleEvent(kCoreEventClass, EventToSend, &targetDesc, kAutoGenerateReturnID, kAnyTransactionID,
                               &appleEventToSend);
    AEDisposeDesc(&targetDesc);
    if (error != noErr)
        return error;

    const OSStatus sendStatus = AESend(&appleEventToSend, &eventReply, kAENoReply, kAENormalPriority,
                                       kAEDefaultTimeout, nullptr, nullptr);
    AEDisposeDesc(&appleEventToSend);
    if (sendStatus != noErr)
        return sendStatus;

    AEDisposeDesc(&eventReply);
    return noErr;
}
