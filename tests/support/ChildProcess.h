// Runs a program as a child process and collects what it printed and how it ended.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

struct ChildResult {
    int exitStatus = -1;  // 0-255, or 128 + the signal that ended it
    std::string standardOutput;
    std::string standardError;
};

// arguments[0] is the program (a path, or a name looked up in PATH). The environment is this
// process's with the given variables replaced (an empty optional removes one). What the child
// prints goes through files, not pipes, so a program that leaves a detached process behind does
// not keep the caller waiting for it.
ChildResult RunChild(const std::vector<std::string>& arguments,
                     const std::map<std::string, std::optional<std::string>>& environment = {},
                     const std::string& standardInput = "");

// The same with exactly the given environment and nothing inherited.
ChildResult RunChildInEnvironment(const std::vector<std::string>& arguments,
                                  const std::map<std::string, std::string>& environment);

// The sanitizer settings of this process, so that children report the same way as the test.
std::map<std::string, std::string> InheritedDiagnostics();

int CountOccurrences(const std::string& text, const std::string& piece);
