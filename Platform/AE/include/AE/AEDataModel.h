// Apple Event Manager data model: descriptors, four-character type codes, process serial numbers.
#pragma once

#include <CoreFoundation/CFBase.h>

typedef long Size;

// Four-character codes have their first character in the most significant byte.
constexpr FourCharCode fourCharCode(const char (&code)[5])
{
    return (FourCharCode(UInt8(code[0])) << 24) | (FourCharCode(UInt8(code[1])) << 16) |
           (FourCharCode(UInt8(code[2])) << 8) | FourCharCode(UInt8(code[3]));
}
typedef FourCharCode DescType;
typedef FourCharCode AEKeyword;
typedef FourCharCode AEEventClass;
typedef FourCharCode AEEventID;
typedef SInt16 AEReturnID;
typedef SInt32 AETransactionID;
typedef SInt32 AESendMode;
typedef SInt16 AESendPriority;

// The bytes a descriptor holds; only the Apple Event Manager looks inside.
typedef struct OpaqueAEDataStorageType* AEDataStorage;

struct AEDesc {
    DescType descriptorType;
    AEDataStorage dataHandle;
};
typedef AEDesc AEAddressDesc;
typedef AEDesc AEDescList;
typedef AEDescList AERecord;
typedef AERecord AppleEvent;

struct ProcessSerialNumber {
    UInt32 highLongOfPSN;
    UInt32 lowLongOfPSN;
};

enum {
    kNoProcess = 0,
    kSystemProcess = 1,
    kCurrentProcess = 2,
};

enum : DescType {
    typeNull = fourCharCode("null"),
    typeProcessSerialNumber = fourCharCode("psn "),
    typeAppleEvent = fourCharCode("aevt"),
};

enum {
    procNotFound = -600,
    errAECoercionFail = -1700,
    errAEDescNotFound = -1701,
    errAEWrongDataType = -1703,
    errAENotAEDesc = -1704,
    errAEEventNotHandled = -1708,
    errAEUnknownAddressType = -1716,
    errAEEventFailed = -10000,
};

// Sets *result to a descriptor of the given type holding a copy of the data.
OSErr AECreateDesc(DescType typeCode, const void* dataPtr, Size dataSize, AEDesc* result);
// Releases what the descriptor holds and leaves it a null descriptor.
OSErr AEDisposeDesc(AEDesc* theAEDesc);
Size AEGetDescDataSize(const AEDesc* theAEDesc);
OSErr AEGetDescData(const AEDesc* theAEDesc, void* dataPtr, Size maximumSize);
