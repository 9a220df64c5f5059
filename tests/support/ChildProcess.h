// Runs a program as a child process and collects what it printed and how it ended.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

struct ChildResult {
    int exitStatus = -1;  // 0-255, or -1 when it did not exit normally
    int signal = 0;       // the signal that ended it, if any
    std::string standardOutput;
    std::string standardError;
};

// arguments[0] is the program (a path, or a name looked up in PATH). The environment is this
// process's with the given variables replaced (an empty optional removes one).
ChildResult RunChild(const std::vector<std::string>& arguments,
                     const std::map<std::string, std::optional<std::string>>& environment = {},
                     const std::string& standardInput = "");
