#include "PrivilegedCommandRunner.h"

#include <Foundation/NSLog.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

const AuthorizationFlags kAdminRightFlags =
    kAuthorizationFlagDefaults | kAuthorizationFlagInteractionAllowed | kAuthorizationFlagPreAuthorize |
    kAuthorizationFlagExtendRights;

} // namespace

OSStatus PrivilegedCommandRunner::createAuthorization()
{
    const OSStatus status =
        AuthorizationCreate(nullptr, kAuthorizationEmptyEnvironment, kAuthorizationFlagDefaults, &authorizationRef_);
    if (status != errAuthorizationSuccess) {
        authorizationRef_ = nullptr;
        NSLog("Error Creating Initial Authorization: %d", status);
    }
    return status;
}

OSStatus PrivilegedCommandRunner::acquireAdminRight()
{
    AuthorizationItem adminRight = {kAuthorizationRightExecute, 0, nullptr, 0};
    AuthorizationRights rights = {1, &adminRight};
    const OSStatus status =
        AuthorizationCopyRights(authorizationRef_, &rights, kAuthorizationEmptyEnvironment, kAdminRightFlags, nullptr);
    if (status != errAuthorizationSuccess)
        NSLog("Copy Rights Unsuccessful: %d", status);
    return status;
}

OSStatus PrivilegedCommandRunner::runTool(const char* toolPath, const char* const* arguments)
{
    // A stream left from an earlier tool nobody waited for is not needed any more.
    if (communicationsPipe_ != nullptr)
        fclose(communicationsPipe_);
    communicationsPipe_ = nullptr;
    return AuthorizationExecuteWithPrivileges(authorizationRef_, toolPath, kAuthorizationFlagDefaults,
                                              const_cast<char* const*>(arguments), &communicationsPipe_);
}

bool PrivilegedCommandRunner::waitForTool(int timeoutSeconds)
{
    if (communicationsPipe_ == nullptr)
        return false;
    const int descriptor = fileno(communicationsPipe_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    bool ended = false;
    for (;;) {
        int waitMilliseconds = -1;
        if (timeoutSeconds >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            waitMilliseconds = static_cast<int>(left.count());
        }
        pollfd readable = {descriptor, POLLIN, 0};
        const int ready = poll(&readable, 1, waitMilliseconds);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char discarded[4096];
        const ssize_t count = read(descriptor, discarded, sizeof discarded);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            ended = true;
            break;
        }
    }
    fclose(communicationsPipe_);
    communicationsPipe_ = nullptr;
    return ended;
}

void PrivilegedCommandRunner::freeAuthorization()
{
    if (authorizationRef_ != nullptr)
        AuthorizationFree(authorizationRef_, kAuthorizationFlagDestroyRights);
    authorizationRef_ = nullptr;
}
