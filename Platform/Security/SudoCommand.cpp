#include "SudoCommand.h"

#include <dlfcn.h>
#include <unistd.h>

#include <ProcessSpawn/ProcessSpawn.h>
#include <Security/Authorization.h>

namespace security {
namespace {

const char* const kSudoProgram = "/usr/bin/sudo";

std::vector<std::string> sudoWords(const std::vector<std::string>& arguments)
{
    std::vector<std::string> words = {"sudo"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return words;
}

} // namespace

int runSudo(const std::vector<std::string>& arguments, const EnvironmentSettings& extraEnvironment)
{
    return spawn::run({kSudoProgram, sudoWords(arguments), spawn::environmentWith(spawn::currentEnvironment(), extraEnvironment)})
        .exitStatus();
}

// sudo stays our direct child (no double fork): without a terminal it keys its cached credentials
// to the parent process, so `sudo -v` and the later `sudo -n` must share this process as parent.
pid_t startUnderSudo(const std::string& tool, const std::vector<std::string>& arguments, int toolEnd)
{
    std::vector<std::string> words = {"-n", "--", tool};
    words.insert(words.end(), arguments.begin(), arguments.end());
    spawn::Launch launch = {kSudoProgram, sudoWords(words), spawn::currentEnvironment()};
    launch.standardInput = toolEnd;
    launch.standardOutput = toolEnd;
    const pid_t child = spawn::start(launch);
    if (child >= 0)
        spawn::reapWhenDone(child);
    return child;
}

bool sudoAvailable() { return access(kSudoProgram, X_OK) == 0; }

std::string askpassHelperPath()
{
    Dl_info library = {};
    if (dladdr(reinterpret_cast<void*>(&AuthorizationCreate), &library) == 0 || library.dli_fname == nullptr)
        return "orvella-askpass";
    std::string path = library.dli_fname;
    const auto slash = path.rfind('/');
    return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) + "/orvella-askpass";
}

} // namespace security
