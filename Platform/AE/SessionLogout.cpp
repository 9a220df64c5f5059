#include "SessionLogout.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <AE/AEDataModel.h>

extern char** environ;

namespace {

struct CommandResult {
    int exitStatus = -1; // -1 when the command could not be started or did not exit normally
    std::string output;
};

// Runs loginctl (found through PATH) with the given arguments, no shell involved, and collects
// its standard output.
CommandResult runLoginctl(const std::vector<std::string>& arguments)
{
    CommandResult result;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return result;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);

    std::vector<char*> argv;
    std::string program = "loginctl";
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (auto& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t child = -1;
    const int spawnError = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawnError != 0) {
        close(pipeEnds[0]);
        return result;
    }

    char buffer[4096];
    for (;;) {
        const ssize_t count = read(pipeEnds[0], buffer, sizeof buffer);
        if (count > 0)
            result.output.append(buffer, static_cast<size_t>(count));
        else if (count == 0 || errno != EINTR)
            break;
    }
    close(pipeEnds[0]);

    int waitStatus = 0;
    while (waitpid(child, &waitStatus, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(waitStatus))
        result.exitStatus = WEXITSTATUS(waitStatus);
    return result;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The logind session of this process: the one the login set up for it, else the one loginctl
// finds for the caller ("ID - user (uid)" on the first line of its status).
std::optional<std::string> callersSession()
{
    if (const char* fromLogin = std::getenv("XDG_SESSION_ID"); fromLogin != nullptr && *fromLogin != '\0')
        return std::string(fromLogin);

    const CommandResult status = runLoginctl({"session-status", "--no-pager", "--lines=0"});
    if (status.exitStatus != 0)
        return std::nullopt;
    const std::string firstLine = trimmed(status.output.substr(0, status.output.find('\n')));
    const std::string identifier = firstLine.substr(0, firstLine.find(' '));
    if (identifier.empty())
        return std::nullopt;
    return identifier;
}

} // namespace

namespace ae {

OSStatus terminateCallersSession()
{
    const std::optional<std::string> session = callersSession();
    if (!session)
        return procNotFound;
    const CommandResult termination = runLoginctl({"terminate-session", *session});
    return termination.exitStatus == 0 ? OSStatus(noErr) : OSStatus(errAEEventFailed);
}

} // namespace ae
