#include <AE/AppleEvents.h>

#include <cstring>

#include "AEDescriptor.h"
#include "SessionLogout.h"

namespace {

bool addressesSystemProcess(const OpaqueAEDataStorageType& event)
{
    if (event.targetType != typeProcessSerialNumber || event.targetBytes.size() != sizeof(ProcessSerialNumber))
        return false;
    ProcessSerialNumber process;
    std::memcpy(&process, event.targetBytes.data(), sizeof process);
    return process.highLongOfPSN == 0 && process.lowLongOfPSN == kSystemProcess;
}

// What the addressed process does with the event.
OSStatus deliver(const OpaqueAEDataStorageType& event)
{
    if (event.targetType != typeProcessSerialNumber)
        return errAEUnknownAddressType;
    if (!addressesSystemProcess(event))
        return procNotFound;
    if (event.eventClass == kCoreEventClass && event.eventID == kAEReallyLogOut)
        return ae::terminateCallersSession();
    return errAEEventNotHandled;
}

} // namespace

OSErr AECreateAppleEvent(AEEventClass theAEEventClass, AEEventID theAEEventID, const AEAddressDesc* target,
                         AEReturnID returnID, AETransactionID transactionID, AppleEvent* result)
{
    if (result == nullptr)
        return paramErr;
    *result = ae::nullDescriptor();
    if (target == nullptr)
        return paramErr;
    if (target->descriptorType != typeProcessSerialNumber)
        return errAEUnknownAddressType;
    auto* event = new OpaqueAEDataStorageType;
    event->eventClass = theAEEventClass;
    event->eventID = theAEEventID;
    event->targetType = target->descriptorType;
    if (target->dataHandle != nullptr)
        event->targetBytes = target->dataHandle->bytes;
    event->returnID = returnID;
    event->transactionID = transactionID;
    *result = AEDesc{typeAppleEvent, event};
    return noErr;
}

OSStatus AESend(const AppleEvent* theAppleEvent, AppleEvent* reply, AESendMode sendMode, AESendPriority,
                SInt32, AEIdleUPP, AEFilterUPP)
{
    if (reply != nullptr)
        *reply = ae::nullDescriptor();
    if (theAppleEvent == nullptr || reply == nullptr)
        return paramErr;
    if (theAppleEvent->descriptorType != typeAppleEvent || theAppleEvent->dataHandle == nullptr)
        return errAENotAEDesc;
    if ((sendMode & kAEWaitReply) != kAENoReply)
        return paramErr;
    return deliver(*theAppleEvent->dataHandle);
}
