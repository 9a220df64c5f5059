// The sudo invocations behind the administrator right: always the system's /usr/bin/sudo, never one
// found through PATH, since whatever runs here runs as root.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace security {

// Variables the child gets besides this process's: name and value.
using EnvironmentSettings = std::vector<std::pair<std::string, std::string>>;

// Runs `sudo ARGUMENTS...` with standard input from /dev/null, waits for it and returns its exit
// status (-1 when it could not be started or did not exit normally).
int runSudo(const std::vector<std::string>& arguments, const EnvironmentSettings& extraEnvironment = {});

// Starts `sudo -n -- TOOL ARGUMENTS...` with standard input and output on toolEnd and returns its
// process id, or -1 with errno set when it could not be started. The child is reaped when it ends.
pid_t startUnderSudo(const std::string& tool, const std::vector<std::string>& arguments, int toolEnd);

// Whether the system's sudo is installed.
bool sudoAvailable();

// The password dialog sudo runs as SUDO_ASKPASS; it lives beside this library.
std::string askpassHelperPath();

} // namespace security
