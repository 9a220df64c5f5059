#include "SessionLogout.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <AE/AEDataModel.h>
#include <ProcessSpawn/ProcessSpawn.h>

namespace {

struct CommandResult {
    int exitStatus = -1; // -1 when the command could not be started or did not exit normally
    std::string output;
};

// Runs loginctl (found through PATH) with the given arguments, no shell involved, and collects
// its standard output.
CommandResult runLoginctl(const std::vector<std::string>& arguments)
{
    std::vector<std::string> words = {"loginctl"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    spawn::Launch launch = {"loginctl", words, spawn::currentEnvironment()};
    launch.searchPath = true;
    launch.standardInput = spawn::kInherited;
    CommandResult result;
    result.exitStatus = spawn::run(launch, std::nullopt, &result.output).exitStatus();
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
