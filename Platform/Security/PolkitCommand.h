// The polkit calls behind the administrator right, where the desktop has polkit: the right is the
// action below, proved for this process through `pkcheck` (the desktop's own agent asks for the
// password), and tools run as root through `pkexec`, which polkit lets through without asking
// again for the tools the action implies. Always the system's programs, never ones found in PATH.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace security {

// The action that stands for "system.privilege.admin"; the package's action file defines it and
// lets it imply running /bin/cp and /bin/rm, spelled as the product passes them.
inline constexpr const char* kAdministratorAction = "com.brimwell.orvella.administer";

// pkcheck, pkexec, the action file and a system bus to reach polkit are all there.
bool polkitAvailable();

// What polkit said about the administrator action for this process.
enum class PolkitAnswer {
    Granted,
    Denied,
    NoAgent,    // it would have to ask, and no agent can (or interaction was not allowed)
    Dismissed,  // the user closed the dialog
    Failed,     // pkcheck could not be run or did not answer
};
PolkitAnswer checkAdministratorAction(bool allowInteraction);

// Starts `pkexec --disable-internal-agent TOOL ARGUMENTS...` as a direct child (polkit judges its
// parent) with standard input and output on toolEnd; returns its process id, or -1 with errno set.
// The child is reaped when it ends.
pid_t startUnderPkexec(const std::string& tool, const std::vector<std::string>& arguments, int toolEnd);

}  // namespace security
