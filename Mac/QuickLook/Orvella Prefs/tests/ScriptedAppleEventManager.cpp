#include "ScriptedAppleEventManager.h"

#include <cstring>
#include <vector>

struct OpaqueAEDataStorageType {
    std::vector<unsigned char> bytes;
};

namespace {

std::string codeText(DescType code) { return {char(code >> 24), char(code >> 16), char(code >> 8), char(code)}; }

void record(const char* function, DescType type, OSStatus status)
{
    scriptedAppleEventManager().calls.push_back(std::string(function) + " " + codeText(type) + " " +
                                                std::to_string(status));
}

OSStatus scriptedStatus(const char* function)
{
    const auto& failures = scriptedAppleEventManager().failures;
    const auto failure = failures.find(function);
    return failure == failures.end() ? OSStatus(noErr) : failure->second;
}

AEDesc makeDescriptor(DescType type, const void* data, size_t size)
{
    auto* storage = new OpaqueAEDataStorageType;
    const auto* bytes = static_cast<const unsigned char*>(data);
    storage->bytes.assign(bytes, bytes + size);
    ++scriptedAppleEventManager().descriptorsAlive;
    return AEDesc{type, storage};
}

} // namespace

ScriptedAppleEventManager& scriptedAppleEventManager()
{
    static ScriptedAppleEventManager manager;
    return manager;
}

OSErr AECreateDesc(DescType typeCode, const void* dataPtr, Size dataSize, AEDesc* result)
{
    *result = AEDesc{typeNull, nullptr};
    const auto status = static_cast<OSErr>(scriptedStatus("AECreateDesc"));
    if (status == noErr)
        *result = makeDescriptor(typeCode, dataPtr, static_cast<size_t>(dataSize));
    record("AECreateDesc", result->descriptorType, status);
    return status;
}

OSErr AECreateAppleEvent(AEEventClass theAEEventClass, AEEventID theAEEventID, const AEAddressDesc* target,
                         AEReturnID returnID, AETransactionID transactionID, AppleEvent* result)
{
    *result = AEDesc{typeNull, nullptr};
    const auto status = static_cast<OSErr>(scriptedStatus("AECreateAppleEvent"));
    if (status == noErr) {
        ProcessSerialNumber process = {};
        if (target->dataHandle != nullptr && target->dataHandle->bytes.size() == sizeof process)
            std::memcpy(&process, target->dataHandle->bytes.data(), sizeof process);
        const std::string description = codeText(theAEEventClass) + "/" + codeText(theAEEventID) + " to " +
                                        codeText(target->descriptorType) + " " +
                                        std::to_string(process.highLongOfPSN) + ":" +
                                        std::to_string(process.lowLongOfPSN) + " return " + std::to_string(returnID) +
                                        " transaction " + std::to_string(transactionID);
        *result = makeDescriptor(typeAppleEvent, description.data(), description.size());
    }
    record("AECreateAppleEvent", result->descriptorType, status);
    return status;
}

OSStatus AESend(const AppleEvent* theAppleEvent, AppleEvent* reply, AESendMode sendMode, AESendPriority sendPriority,
                SInt32 timeOutInTicks, AEIdleUPP idleProc, AEFilterUPP filterProc)
{
    *reply = AEDesc{typeNull, nullptr};
    const OSStatus status = scriptedStatus("AESend");
    const auto& event = theAppleEvent->dataHandle->bytes;
    scriptedAppleEventManager().sentEvent =
        std::string(event.begin(), event.end()) + ", mode " + std::to_string(sendMode) + " priority " +
        std::to_string(sendPriority) + " timeout " + std::to_string(timeOutInTicks) +
        (idleProc == nullptr && filterProc == nullptr ? "" : " with procedures");
    record("AESend", theAppleEvent->descriptorType, status);
    return status;
}

OSErr AEDisposeDesc(AEDesc* theAEDesc)
{
    if (theAEDesc->dataHandle != nullptr)
        --scriptedAppleEventManager().descriptorsAlive;
    record("AEDisposeDesc", theAEDesc->descriptorType, noErr);
    delete theAEDesc->dataHandle;
    *theAEDesc = AEDesc{typeNull, nullptr};
    return noErr;
}

Size AEGetDescDataSize(const AEDesc*) { return 0; }
OSErr AEGetDescData(const AEDesc*, void*, Size) { return paramErr; }
