// An Apple Event Manager linked into the log-out request's test in place of the real one: it
// records every call and fails the steps the test names, as the real manager can.
#pragma once

#include <AE/AE.h>

#include <map>
#include <string>
#include <vector>

struct ScriptedAppleEventManager {
    // Function name ("AECreateDesc", "AECreateAppleEvent", "AESend") -> the status it returns.
    std::map<std::string, OSStatus> failures;
    // "function type status" per call, type being the four characters of the descriptor made,
    // sent or disposed of; and for AESend, what was sent.
    std::vector<std::string> calls;
    std::string sentEvent;
    int descriptorsAlive = 0;
};

ScriptedAppleEventManager& scriptedAppleEventManager();
