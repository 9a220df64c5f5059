// Diagnostic hook of the Apple Event Manager stand-in: lets a harness watch every call.
// Product code never includes this header.
#pragma once

#include <functional>

#include <AE/AEDataModel.h>

struct AECallRecord {
    const char* function;    // "AECreateDesc", "AECreateAppleEvent", "AESend", "AEDisposeDesc"
    DescType descriptorType; // the type of the descriptor made, sent or disposed of
    OSStatus status;         // what the call returned
};

// Installs (or, with an empty function, removes) the observer called after each call returns.
void AESetCallObserver(std::function<void(const AECallRecord&)> observer);
