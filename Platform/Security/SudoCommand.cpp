#include "SudoCommand.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <Security/Authorization.h>

extern char** environ;

namespace security {
namespace {

const char* const kSudoProgram = "/usr/bin/sudo";

std::vector<char*> argumentVector(std::vector<std::string>& words)
{
    std::vector<char*> vector;
    for (auto& word : words)
        vector.push_back(word.data());
    vector.push_back(nullptr);
    return vector;
}

// This process's environment with the extra settings replacing any of the same name.
std::vector<std::string> environmentWith(const std::vector<EnvironmentSetting>& extra)
{
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const auto& setting : extra)
            replaced = replaced || text.rfind(setting.name + "=", 0) == 0;
        if (!replaced)
            entries.push_back(text);
    }
    for (const auto& setting : extra)
        entries.push_back(setting.name + "=" + setting.value);
    return entries;
}

int waitForExit(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits for this one child on a thread of its own, so started tools leave no zombies and callers
// that wait for their own children are not disturbed. sudo stays our direct child (no double
// fork): without a terminal it keys its cached credentials to the parent process, so `sudo -v`
// and the later `sudo -n` must share this process as parent.
void reapWhenDone(pid_t child)
{
    std::thread([child] { waitForExit(child); }).detach();
}

} // namespace

int runSudo(const std::vector<std::string>& arguments, const std::vector<EnvironmentSetting>& extraEnvironment)
{
    std::vector<std::string> words = {"sudo"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = argumentVector(words);
    std::vector<std::string> environmentEntries = environmentWith(extraEnvironment);
    std::vector<char*> envp = argumentVector(environmentEntries);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t child = -1;
    const int error = posix_spawn(&child, kSudoProgram, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return -1;
    return waitForExit(child);
}

pid_t startUnderSudo(const std::string& tool, const std::vector<std::string>& arguments, int toolEnd)
{
    std::vector<std::string> words = {"sudo", "-n", "--", tool};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = argumentVector(words);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toolEnd, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, toolEnd, STDOUT_FILENO);
    pid_t child = -1;
    const int error = posix_spawn(&child, kSudoProgram, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        errno = error;
        return -1;
    }
    reapWhenDone(child);
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
