// Starting programs as child processes, one way for every part of the product: posix_spawn with the
// program's path, its argument list and its whole environment given by the caller, never a shell.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace spawn {

// Where one of the child's standard streams goes, besides a descriptor of the caller's.
inline constexpr int kNullDevice = -1;  // /dev/null
inline constexpr int kInherited = -2;   // the caller's own stream

struct Launch {
    std::string program;                   // an absolute path; with searchPath, a name looked up in our PATH
    std::vector<std::string> arguments;    // argv, its first entry the program's name
    std::vector<std::string> environment;  // every NAME=value the child gets, and nothing else
    int standardInput = kNullDevice;
    int standardOutput = kInherited;
    bool searchPath = false;
    bool newSession = false;  // a session of its own: no terminal of ours, none of its signals
};

// How a waited-for child ended.
struct Ending {
    enum class Kind { NotStarted, Exited, Signalled, TimedOut };
    Kind kind = Kind::NotStarted;
    int code = -1;  // the exit status, or the signal

    bool exitedWith(int status) const { return kind == Kind::Exited && code == status; }
    // The exit status, or -1 when the child did not exit by itself.
    int exitStatus() const { return kind == Kind::Exited ? code : -1; }
};

// This process's environment, as the base of a child's.
std::vector<std::string> currentEnvironment();

// The environment with each setting replacing any variable of the same name.
std::vector<std::string> environmentWith(std::vector<std::string> environment,
                                         const std::vector<std::pair<std::string, std::string>>& settings);

// Starts the program and returns its process id, or -1 with errno set when it could not be
// executed (a missing or non-executable program is reported here, not as an exit status). The
// caller must wait for it, or hand it to reapWhenDone.
pid_t start(const Launch& launch);

// Waits for the child; when the limit passes first, kills and reaps it and says TimedOut.
Ending waitFor(pid_t child, std::optional<std::chrono::milliseconds> limit = std::nullopt);

// Starts the program and waits for it. With output given, the child's standard output is collected
// there (launch.standardOutput is then ignored); the limit covers the whole run.
Ending run(const Launch& launch, std::optional<std::chrono::milliseconds> limit = std::nullopt,
           std::string* output = nullptr);

// Reaps the child on a thread of its own when it ends, so that a child nobody waits for leaves no
// zombie and the caller's own waits are not disturbed.
void reapWhenDone(pid_t child);

}  // namespace spawn
