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

// The status a step fails with although nothing went wrong: 0 in the library as shipped
// (NoForcedFailures.cpp); the test tree links in a version that makes any step fail the way the
// real manager can.
OSStatus forcedFailure(const char* function);

void notifyObserver(const char* function, DescType descriptorType, OSStatus status);

} // namespace ae
