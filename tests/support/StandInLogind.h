// A stand-in systemd-logind (standin-logind.py) on a private message bus, made this process's
// system bus (DBUS_SYSTEM_BUS_ADDRESS) while the object lives; children started meanwhile
// inherit it. Nothing reaches the machine's own logind.
#pragma once

#include "TemporaryFolder.h"

#include <sys/types.h>

#include <optional>
#include <string>

class StandInLogind {
public:
    StandInLogind();
    ~StandInLogind();
    StandInLogind(const StandInLogind&) = delete;
    StandInLogind& operator=(const StandInLogind&) = delete;

    bool running() const { return logindPid_ > 0; }
    // What it knows, as JSON, read at every call: {"sessions": ["c7"], "sessionOfPid": {"PID":
    // "c9"}, "displaySession": "c2", "refuse": true}.
    void knows(const std::string& json) const;
    // The calls it answered, one a line: "GetSession c7", "GetSessionByPID", "GetUser",
    // "Terminate c7".
    std::string calls() const;

private:
    TemporaryFolder folder_{"standin-logind"};
    std::optional<std::string> previousAddress_;
    pid_t busPid_ = -1;
    pid_t logindPid_ = -1;
};
