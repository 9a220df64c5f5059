// What an Apple Event Manager descriptor holds behind its opaque handle.
#pragma once

#include <vector>

#include <AE/AEDataModel.h>

struct OpaqueAEDataStorageType {
    std::vector<unsigned char> bytes;
    // Set for Apple events only.
    AEEventClass eventClass = 0;
    AEEventID eventID = 0;
    DescType targetType = typeNull;
    std::vector<unsigned char> targetBytes;
    AEReturnID returnID = 0;
    AETransactionID transactionID = 0;
};

namespace ae {

inline AEDesc nullDescriptor() { return AEDesc{typeNull, nullptr}; }

} // namespace ae
