// Runs system tools with administrator rights: create an authorisation, obtain the administrator
// right interactively, start tools by absolute path with an argument list, free the authorisation.
// Authorisation failures are logged here; what a failed step means is the caller's decision.
#pragma once

#include <Security/Security.h>

#include <cstdio>

class PrivilegedCommandRunner {
public:
    PrivilegedCommandRunner() = default;
    PrivilegedCommandRunner(const PrivilegedCommandRunner&) = delete;
    PrivilegedCommandRunner& operator=(const PrivilegedCommandRunner&) = delete;

    // An empty authorisation, no dialog. On failure logs "Error Creating Initial Authorization: %d".
    OSStatus createAuthorization();

    // The administrator right, asking the user as needed. On failure logs "Copy Rights Unsuccessful: %d".
    OSStatus acquireAdminRight();

    // Starts the tool with the arguments (a null-terminated list, tool path not repeated) and
    // returns without waiting; 0 when the tool could be started.
    OSStatus runTool(const char* toolPath, const char* const* arguments);

    // Reads the last started tool's output to its end, which comes when the tool ends, and closes
    // the stream. Gives up after timeoutSeconds (negative: no limit). True when the tool ended.
    bool waitForTool(int timeoutSeconds);

    // Frees the authorisation together with the right it holds.
    void freeAuthorization();

private:
    AuthorizationRef authorizationRef_ = nullptr;
    FILE* communicationsPipe_ = nullptr;
};
