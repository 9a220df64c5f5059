#include "ChildProcess.h"

#include "TemporaryFolder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

ChildResult Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& variables,
                  const std::string& standardInput) {
    ChildResult result;
    TemporaryFolder streams("orvella-child");
    const std::string input = streams.WriteFile("in", standardInput);
    const std::string output = streams.path() + "/out";
    const std::string errors = streams.path() + "/err";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& variable : variables) envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);

    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == 0) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    result.standardOutput = ReadWholeFile(output);
    result.standardError = ReadWholeFile(errors);
    return result;
}

}  // namespace

ChildResult RunChild(const std::vector<std::string>& arguments,
                     const std::map<std::string, std::optional<std::string>>& environment,
                     const std::string& standardInput) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        if (environment.count(entry.substr(0, entry.find('='))) == 0) variables.push_back(entry);
    }
    for (const auto& [name, value] : environment)
        if (value) variables.push_back(name + "=" + *value);
    return Spawn(arguments, variables, standardInput);
}

ChildResult RunChildInEnvironment(const std::vector<std::string>& arguments,
                                  const std::map<std::string, std::string>& environment) {
    std::vector<std::string> variables;
    for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);
    return Spawn(arguments, variables, "");
}

std::map<std::string, std::string> InheritedDiagnostics() {
    std::map<std::string, std::string> variables;
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
        if (const char* value = std::getenv(name)) variables[name] = value;
    return variables;
}

int CountOccurrences(const std::string& text, const std::string& piece) {
    int count = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++count;
    return count;
}
