#include <AE/AEDataModel.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "AEDescriptor.h"
#include "AEObserver.h"

namespace {

std::function<void(const AECallRecord&)>& callObserver()
{
    static std::function<void(const AECallRecord&)> observer;
    return observer;
}

} // namespace

void AESetCallObserver(std::function<void(const AECallRecord&)> observer) { callObserver() = std::move(observer); }

namespace ae {

void notifyObserver(const char* function, DescType descriptorType, OSStatus status)
{
    if (callObserver())
        callObserver()(AECallRecord{function, descriptorType, status});
}

} // namespace ae

OSErr AECreateDesc(DescType typeCode, const void* dataPtr, Size dataSize, AEDesc* result)
{
    if (result == nullptr)
        return paramErr;
    *result = ae::nullDescriptor();
    OSErr status = static_cast<OSErr>(ae::forcedFailure("AECreateDesc"));
    if (status == noErr && (dataSize < 0 || (dataSize > 0 && dataPtr == nullptr)))
        status = paramErr;
    if (status == noErr) {
        auto* storage = new OpaqueAEDataStorageType;
        const auto* bytes = static_cast<const unsigned char*>(dataPtr);
        storage->bytes.assign(bytes, bytes + dataSize);
        *result = AEDesc{typeCode, storage};
    }
    ae::notifyObserver("AECreateDesc", result->descriptorType, status);
    return status;
}

OSErr AEDisposeDesc(AEDesc* theAEDesc)
{
    if (theAEDesc == nullptr)
        return paramErr;
    const DescType disposedType = theAEDesc->descriptorType;
    delete theAEDesc->dataHandle;
    *theAEDesc = ae::nullDescriptor();
    ae::notifyObserver("AEDisposeDesc", disposedType, noErr);
    return noErr;
}

Size AEGetDescDataSize(const AEDesc* theAEDesc)
{
    if (theAEDesc == nullptr || theAEDesc->dataHandle == nullptr)
        return 0;
    return static_cast<Size>(theAEDesc->dataHandle->bytes.size());
}

OSErr AEGetDescData(const AEDesc* theAEDesc, void* dataPtr, Size maximumSize)
{
    if (theAEDesc == nullptr || dataPtr == nullptr || maximumSize < 0)
        return paramErr;
    if (theAEDesc->dataHandle == nullptr)
        return noErr;
    const auto& bytes = theAEDesc->dataHandle->bytes;
    std::memcpy(dataPtr, bytes.data(), std::min(bytes.size(), static_cast<size_t>(maximumSize)));
    return noErr;
}
