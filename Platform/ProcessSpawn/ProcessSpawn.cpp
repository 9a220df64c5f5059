#include <ProcessSpawn/ProcessSpawn.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

extern char** environ;

namespace spawn {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> pointersTo(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (auto& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

void direct(posix_spawn_file_actions_t* actions, int stream, int target, int nullDeviceMode) {
    if (stream == kNullDevice)
        posix_spawn_file_actions_addopen(actions, target, "/dev/null", nullDeviceMode, 0);
    else if (stream >= 0)
        posix_spawn_file_actions_adddup2(actions, stream, target);
}

pid_t startWithOutput(const Launch& launch, int standardOutput) {
    std::vector<std::string> words = launch.arguments;
    std::vector<std::string> variables = launch.environment;
    std::vector<char*> argv = pointersTo(words);
    std::vector<char*> envp = pointersTo(variables);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    direct(&actions, launch.standardInput, STDIN_FILENO, O_RDONLY);
    direct(&actions, standardOutput, STDOUT_FILENO, O_WRONLY);

    // The child starts with no signal blocked or ignored, whatever this process does with them.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (launch.newSession) flags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&attributes, flags);

    pid_t child = -1;
    const int error =
        launch.searchPath
            ? posix_spawnp(&child, launch.program.c_str(), &actions, &attributes, argv.data(), envp.data())
            : posix_spawn(&child, launch.program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return child;
}

// Milliseconds left until the deadline for poll: -1 for none, never below 0.
int millisecondsLeft(std::optional<Clock::time_point> deadline) {
    if (!deadline) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until the descriptor is readable or the deadline passes; false at the deadline.
bool readableBefore(int descriptor, std::optional<Clock::time_point> deadline) {
    for (;;) {
        pollfd watch{descriptor, POLLIN, 0};
        const int ready = poll(&watch, 1, millisecondsLeft(deadline));
        if (ready >= 0 || errno != EINTR) return ready > 0;
    }
}

// Reads the stream to its end, or until the deadline.
void collect(int descriptor, std::optional<Clock::time_point> deadline, std::string& output) {
    char buffer[4096];
    while (readableBefore(descriptor, deadline)) {
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count > 0)
            output.append(buffer, static_cast<size_t>(count));
        else if (count == 0 || errno != EINTR)
            return;
    }
}

}  // namespace

std::vector<std::string> currentEnvironment() {
    std::vector<std::string> variables;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
        variables.emplace_back(*entry);
    return variables;
}

std::vector<std::string> environmentWith(std::vector<std::string> environment,
                                         const std::vector<std::pair<std::string, std::string>>& settings) {
    for (const auto& [name, value] : settings) {
        std::erase_if(environment, [&name](const std::string& entry) { return entry.starts_with(name + "="); });
        environment.push_back(name + "=" + value);
    }
    return environment;
}

pid_t start(const Launch& launch) {
    return startWithOutput(launch, launch.standardOutput);
}

Ending waitFor(pid_t child, std::optional<std::chrono::milliseconds> limit) {
    bool timedOut = false;
    if (limit) {
        const std::optional<Clock::time_point> deadline = Clock::now() + *limit;
        const int process = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
        if (process >= 0) {
            timedOut = !readableBefore(process, deadline);
            close(process);
        }
    }
    if (timedOut) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return {};
    }
    if (timedOut) return {Ending::Kind::TimedOut, SIGKILL};
    if (WIFEXITED(status)) return {Ending::Kind::Exited, WEXITSTATUS(status)};
    return {Ending::Kind::Signalled, WTERMSIG(status)};
}

Ending run(const Launch& launch, std::optional<std::chrono::milliseconds> limit, std::string* output) {
    std::optional<Clock::time_point> deadline;
    if (limit) deadline = Clock::now() + *limit;
    int ends[2] = {-1, -1};
    if (output != nullptr && pipe2(ends, O_CLOEXEC) != 0) return {};
    const pid_t child = startWithOutput(launch, output != nullptr ? ends[1] : launch.standardOutput);
    if (output != nullptr) close(ends[1]);
    if (child < 0) {
        if (output != nullptr) close(ends[0]);
        return {};
    }
    if (output != nullptr) {
        collect(ends[0], deadline, *output);
        close(ends[0]);
    }
    std::optional<std::chrono::milliseconds> left;
    if (deadline) left = std::chrono::milliseconds(millisecondsLeft(deadline));
    return waitFor(child, left);
}

void reapWhenDone(pid_t child) {
    std::thread([child] { waitFor(child); }).detach();
}

}  // namespace spawn
