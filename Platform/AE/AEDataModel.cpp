#include <AE/AEDataModel.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "AEDescriptor.h"

OSErr AECreateDesc(DescType typeCode, const void* dataPtr, Size dataSize, AEDesc* result)
{
    if (result == nullptr)
        return paramErr;
    *result = ae::nullDescriptor();
    if (dataSize < 0 || (dataSize > 0 && dataPtr == nullptr))
        return paramErr;
    auto* storage = new OpaqueAEDataStorageType;
    const auto* bytes = static_cast<const unsigned char*>(dataPtr);
    storage->bytes.assign(bytes, bytes + dataSize);
    *result = AEDesc{typeCode, storage};
    return noErr;
}

OSErr AEDisposeDesc(AEDesc* theAEDesc)
{
    if (theAEDesc == nullptr)
        return paramErr;
    delete theAEDesc->dataHandle;
    *theAEDesc = ae::nullDescriptor();
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
