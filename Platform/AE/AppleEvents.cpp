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
    OSErr status = static_cast<OSErr>(ae::forcedFailure("AECreateAppleEvent"));
    if (status == noErr && target == nullptr)
        status = paramErr;
    if (status == noErr && target->descriptorType != typeProcessSerialNumber)
        status = errAEUnknownAddressType;
    if (status == noErr) {
        auto* event = new OpaqueAEDataStorageType;
        event->eventClass = theAEEventClass;
        event->eventID = theAEEventID;
        event->targetType = target->descriptorType;
        if (target->dataHandle != nullptr)
            event->targetBytes = target->dataHandle->bytes;
        event->returnID = returnID;
        event->transactionID = transactionID;
        *result = AEDesc{typeAppleEvent, event};
    }
    ae::notifyObserver("AECreateAppleEvent", result->descriptorType, status);
    return status;
}

OSStatus AESend(const AppleEvent* theAppleEvent, AppleEvent* reply, AESendMode sendMode, AESendPriority,
                SInt32, AEIdleUPP, AEFilterUPP)
{
    if (reply != nullptr)
        *reply = ae::nullDescriptor();
    OSStatus status = ae::forcedFailure("AESend");
    if (status == noErr && (theAppleEvent == nullptr || reply == nullptr))
        status = paramErr;
    if (status == noErr && (theAppleEvent->descriptorType != typeAppleEvent || theAppleEvent->dataHandle == nullptr))
        status = errAENotAEDesc;
    if (status == noErr && (sendMode & kAEWaitReply) != kAENoReply)
        status = paramErr;
    if (status == noErr)
        status = deliver(*theAppleEvent->dataHandle);
    ae::notifyObserver("AESend", theAppleEvent != nullptr ? theAppleEvent->descriptorType : typeNull, status);
    return status;
}
