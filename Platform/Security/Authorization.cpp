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
#include "PolkitCommand.h"
#include "SudoCommand.h"

namespace {

// Who proves the administrator right and starts the tools: polkit where the desktop has it, with
// the desktop's own password dialog; sudo with our dialog where it has not, or where no polkit
// agent answers.
enum class RightsBackEnd { Polkit, Sudo };

} // namespace

struct AuthorizationOpaqueRef {
    RightsBackEnd backEnd = RightsBackEnd::Sudo;
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
OSStatus proveWithSudo(AuthorizationFlags flags)
{
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

// Proves it through polkit, whose agent asks; where no agent can, the reference falls back to sudo.
OSStatus proveWithPolkit(AuthorizationRef authorization, AuthorizationFlags flags)
{
    const bool extend = (flags & kAuthorizationFlagExtendRights) != 0;
    const bool interact = extend && (flags & kAuthorizationFlagInteractionAllowed) != 0;
    switch (security::checkAdministratorAction(interact)) {
    case security::PolkitAnswer::Granted: return errAuthorizationSuccess;
    case security::PolkitAnswer::Denied: return errAuthorizationDenied;
    case security::PolkitAnswer::Dismissed: return errAuthorizationCanceled;
    case security::PolkitAnswer::Failed: return errAuthorizationInternal;
    case security::PolkitAnswer::NoAgent: break;
    }
    if (!extend)
        return errAuthorizationDenied;
    if (!interact || !security::sudoAvailable())
        return errAuthorizationInteractionNotAllowed;
    authorization->backEnd = RightsBackEnd::Sudo;
    return proveWithSudo(flags);
}

OSStatus proveAdministratorRight(AuthorizationRef authorization, AuthorizationFlags flags)
{
    if (isRoot())
        return errAuthorizationSuccess;
    return authorization->backEnd == RightsBackEnd::Polkit ? proveWithPolkit(authorization, flags) : proveWithSudo(flags);
}

// Whether the right is held without asking anyone: root, or a right proved earlier and kept.
bool administratorRightKept(AuthorizationRef authorization)
{
    if (authorization->administratorRightHeld || isRoot())
        return true;
    if (authorization->backEnd == RightsBackEnd::Polkit)
        return security::checkAdministratorAction(false) == security::PolkitAnswer::Granted;
    return security::runSudo({"-n", "-v"}) == 0;
}

} // namespace

OSStatus AuthorizationCreate(const AuthorizationRights* rights, const AuthorizationEnvironment* environment,
                             AuthorizationFlags flags, AuthorizationRef* authorization)
{
    // Rights are exercised through polkit or sudo; without either no authorisation can work.
    const bool polkit = security::polkitAvailable();
    if (!polkit && !security::sudoAvailable())
        return errAuthorizationInternal;
    AuthorizationRef created = new AuthorizationOpaqueRef;
    created->backEnd = polkit ? RightsBackEnd::Polkit : RightsBackEnd::Sudo;
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
    // polkit keeps a right for this process alone, and it goes with the process; revoking it
    // (`pkcheck --revoke-temp`) would take every right kept in the login session, other programs' too.
    if ((flags & kAuthorizationFlagDestroyRights) != 0 && authorization->administratorRightHeld && !isRoot() &&
        authorization->backEnd == RightsBackEnd::Sudo)
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
            const OSStatus status = proveAdministratorRight(authorization, flags);
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

    // Without a proved right the tool would be refused silently later (or asked for again); say so now.
    if (!administratorRightKept(authorization))
        return errAuthorizationDenied;

    std::vector<std::string> toolArguments;
    for (char* const* argument = arguments; argument != nullptr && *argument != nullptr; ++argument)
        toolArguments.emplace_back(*argument);

    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return errAuthorizationToolEnvironmentError;
    const pid_t child = authorization->backEnd == RightsBackEnd::Polkit
                            ? security::startUnderPkexec(pathToTool, toolArguments, ends[1])
                            : security::startUnderSudo(pathToTool, toolArguments, ends[1]);
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
