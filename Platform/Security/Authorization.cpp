#include <Security/Authorization.h>

#include <AppKit/DialogPlatforms.h>

#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <Security/AuthorizationDB.h>
#include "SudoCommand.h"

struct AuthorizationOpaqueRef {
    bool administratorRightHeld = false;
};

namespace {

bool isRoot() { return geteuid() == 0; }

// A screen the dialog can be shown on.
bool displayAvailable()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return true;
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || *platform == '\0')
        return false;
    return !QtPlatformDrawsNowhere(platform);
}

// What the password dialog and this process tell each other across sudo: the dialog notes each
// time it was shown (so a repeated request can say the password was wrong) and whether the user
// cancelled, since sudo reports a cancelled dialog and a wrong password alike. The notes live in
// an anonymous memory file that the dialog opens through /proc, so nothing is left on disk even
// when this process is killed.
class DialogNotes {
public:
    DialogNotes() : descriptor_(memfd_create("orvella-askpass", MFD_CLOEXEC)) {}
    ~DialogNotes()
    {
        if (descriptor_ >= 0)
            close(descriptor_);
    }
    DialogNotes(const DialogNotes&) = delete;
    DialogNotes& operator=(const DialogNotes&) = delete;

    std::string path() const
    {
        if (descriptor_ < 0)
            return {};
        return "/proc/" + std::to_string(getpid()) + "/fd/" + std::to_string(descriptor_);
    }
    bool cancelled() const
    {
        char notes[256];
        const ssize_t count = descriptor_ >= 0 ? pread(descriptor_, notes, sizeof notes, 0) : -1;
        return count > 0 && std::memchr(notes, 'c', static_cast<size_t>(count)) != nullptr;
    }

private:
    int descriptor_;
};

// The name the dialog gives for what is asking: this program's.
std::string requesterName()
{
    const char* name = program_invocation_short_name;
    return name != nullptr && *name != '\0' ? name : "A program";
}

// Proves the administrator right for this process through sudo's cached credentials.
OSStatus proveAdministratorRight(AuthorizationFlags flags)
{
    if (isRoot())
        return errAuthorizationSuccess;
    if (security::runSudo({"-n", "-v"}) == 0)
        return errAuthorizationSuccess;
    if ((flags & kAuthorizationFlagExtendRights) == 0)
        return errAuthorizationDenied;
    if ((flags & kAuthorizationFlagInteractionAllowed) == 0 || !displayAvailable())
        return errAuthorizationInteractionNotAllowed;

    DialogNotes notes;
    const int status = security::runSudo({"-A", "-v"}, {{"SUDO_ASKPASS", security::askpassHelperPath()},
                                                       {"ORVELLA_ASKPASS_NOTES", notes.path()},
                                                       {"ORVELLA_ASKPASS_REQUESTER", requesterName()}});
    if (status == 0)
        return errAuthorizationSuccess;
    return notes.cancelled() ? errAuthorizationCanceled : errAuthorizationDenied;
}

} // namespace

OSStatus AuthorizationCreate(const AuthorizationRights* rights, const AuthorizationEnvironment* environment,
                             AuthorizationFlags flags, AuthorizationRef* authorization)
{
    // Rights are exercised through sudo; without it no authorisation can work.
    if (!security::sudoAvailable())
        return errAuthorizationInternal;
    AuthorizationRef created = new AuthorizationOpaqueRef;
    if (rights != nullptr && rights->count > 0) {
        const OSStatus status = AuthorizationCopyRights(created, rights, environment, flags, nullptr);
        if (status != errAuthorizationSuccess) {
            delete created;
            return status;
        }
    }
    if (authorization == nullptr) {
        delete created;
        return errAuthorizationInvalidPointer;
    }
    *authorization = created;
    return errAuthorizationSuccess;
}

OSStatus AuthorizationFree(AuthorizationRef authorization, AuthorizationFlags flags)
{
    if (authorization == nullptr)
        return errAuthorizationInvalidRef;
    if ((flags & kAuthorizationFlagDestroyRights) != 0 && authorization->administratorRightHeld && !isRoot())
        security::runSudo({"-k"});
    delete authorization;
    return errAuthorizationSuccess;
}

OSStatus AuthorizationCopyRights(AuthorizationRef authorization, const AuthorizationRights* rights,
                                 const AuthorizationEnvironment*, AuthorizationFlags flags,
                                 AuthorizationRights** authorizedRights)
{
    if (authorizedRights != nullptr)
        *authorizedRights = nullptr;
    if (authorization == nullptr)
        return errAuthorizationInvalidRef;
    if (rights == nullptr || (rights->count > 0 && rights->items == nullptr))
        return errAuthorizationInvalidSet;

    for (UInt32 index = 0; index < rights->count; ++index) {
        const AuthorizationItem& item = rights->items[index];
        if (item.name == nullptr || std::strcmp(item.name, kAuthorizationRightExecute) != 0)
            return errAuthorizationDenied;
        if (!authorization->administratorRightHeld) {
            const OSStatus status = proveAdministratorRight(flags);
            if (status != errAuthorizationSuccess)
                return status;
            authorization->administratorRightHeld = true;
        }
    }

    if (authorizedRights != nullptr) {
        auto* granted = new AuthorizationRights{rights->count, nullptr};
        if (rights->count > 0) {
            granted->items = new AuthorizationItem[rights->count];
            for (UInt32 index = 0; index < rights->count; ++index)
                granted->items[index] = AuthorizationItem{strdup(rights->items[index].name), 0, nullptr, 0};
        }
        *authorizedRights = granted;
    }
    return errAuthorizationSuccess;
}

OSStatus AuthorizationFreeItemSet(AuthorizationItemSet* set)
{
    if (set == nullptr)
        return errAuthorizationInvalidSet;
    for (UInt32 index = 0; index < set->count; ++index)
        std::free(const_cast<char*>(set->items[index].name));
    delete[] set->items;
    delete set;
    return errAuthorizationSuccess;
}

OSStatus AuthorizationExecuteWithPrivileges(AuthorizationRef authorization, const char* pathToTool,
                                            AuthorizationFlags options, char* const* arguments,
                                            FILE** communicationsPipe)
{
    if (communicationsPipe != nullptr)
        *communicationsPipe = nullptr;
    if (authorization == nullptr)
        return errAuthorizationInvalidRef;
    if (options != kAuthorizationFlagDefaults)
        return errAuthorizationInvalidFlags;
    if (pathToTool == nullptr || pathToTool[0] != '/')
        return errAuthorizationToolExecuteFailure;
    struct stat tool = {};
    if (stat(pathToTool, &tool) != 0 || !S_ISREG(tool.st_mode) || (tool.st_mode & 0111) == 0)
        return errAuthorizationToolExecuteFailure;

    // Without a proved right sudo would refuse the tool silently later; say so now.
    if (!authorization->administratorRightHeld && !isRoot() && security::runSudo({"-n", "-v"}) != 0)
        return errAuthorizationDenied;

    std::vector<std::string> toolArguments;
    for (char* const* argument = arguments; argument != nullptr && *argument != nullptr; ++argument)
        toolArguments.emplace_back(*argument);

    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return errAuthorizationToolEnvironmentError;
    const pid_t child = security::startUnderSudo(pathToTool, toolArguments, ends[1]);
    close(ends[1]);
    if (child < 0) {
        close(ends[0]);
        return errAuthorizationToolExecuteFailure;
    }
    if (communicationsPipe == nullptr) {
        close(ends[0]);
        return errAuthorizationSuccess;
    }
    *communicationsPipe = fdopen(ends[0], "r+");
    if (*communicationsPipe == nullptr)
        close(ends[0]);
    return errAuthorizationSuccess;
}
