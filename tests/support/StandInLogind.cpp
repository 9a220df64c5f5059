#include "StandInLogind.h"

#include "ChildProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

extern char** environ;

namespace {

constexpr const char* kAddressVariable = "DBUS_SYSTEM_BUS_ADDRESS";

} // namespace

StandInLogind::StandInLogind()
{
    if (const char* previous = std::getenv(kAddressVariable))
        previousAddress_ = previous;
    knows("{}");
    const ChildResult daemon = RunChild({"dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"});
    const size_t lineEnd = daemon.standardOutput.find('\n');
    if (daemon.exitStatus != 0 || lineEnd == std::string::npos) {
        std::fprintf(stderr, "no private bus: %s", daemon.standardError.c_str());
        return;
    }
    const std::string address = daemon.standardOutput.substr(0, lineEnd);
    busPid_ = std::atoi(daemon.standardOutput.c_str() + lineEnd + 1);
    setenv(kAddressVariable, address.c_str(), 1);

    const std::string ready = folder_.path() + "/ready";
    std::vector<std::string> arguments = {"/usr/bin/python3", STANDIN_LOGIND, folder_.path() + "/knows.json",
                                          folder_.path() + "/calls", ready};
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t logind = -1;
    if (posix_spawn(&logind, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return;
    logindPid_ = logind;
    for (int tries = 0; tries < 200 && !std::filesystem::exists(ready); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!std::filesystem::exists(ready)) {
        std::fprintf(stderr, "the stand-in logind did not start\n");
        kill(logindPid_, SIGTERM);
        waitpid(logindPid_, nullptr, 0);
        logindPid_ = -1;
    }
}

StandInLogind::~StandInLogind()
{
    if (previousAddress_)
        setenv(kAddressVariable, previousAddress_->c_str(), 1);
    else
        unsetenv(kAddressVariable);
    if (logindPid_ > 0) {
        kill(logindPid_, SIGTERM);
        waitpid(logindPid_, nullptr, 0);
    }
    if (busPid_ > 0)
        kill(busPid_, SIGTERM);
}

void StandInLogind::knows(const std::string& json) const { folder_.WriteFile("knows.json", json); }

std::string StandInLogind::calls() const
{
    const std::string log = folder_.path() + "/calls";
    return std::filesystem::exists(log) ? ReadWholeFile(log) : "";
}
