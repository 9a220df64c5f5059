// Authorization Services: obtaining rights for a process and starting tools with them.
// Here the administrator right is polkit's where the desktop has polkit (the package's action,
// proved through `pkcheck` with the desktop's own password dialog, used through `pkexec`), and
// otherwise sudo's (proved once through `sudo -v` with a dialog of ours, used through `sudo -n`).
#pragma once

#include <CoreFoundation/CFBase.h>

#include <cstdio>

typedef const char* AuthorizationString;
typedef struct AuthorizationOpaqueRef* AuthorizationRef;
typedef UInt32 AuthorizationFlags;

struct AuthorizationItem {
    AuthorizationString name;
    size_t valueLength;
    void* value;
    UInt32 flags;
};

struct AuthorizationItemSet {
    UInt32 count;
    AuthorizationItem* items;
};
typedef AuthorizationItemSet AuthorizationRights;
typedef AuthorizationItemSet AuthorizationEnvironment;

#define kAuthorizationEmptyEnvironment nullptr

enum : AuthorizationFlags {
    kAuthorizationFlagDefaults = 0,
    kAuthorizationFlagInteractionAllowed = (1 << 0),
    kAuthorizationFlagExtendRights = (1 << 1),
    kAuthorizationFlagPartialRights = (1 << 2),
    kAuthorizationFlagDestroyRights = (1 << 3),
    kAuthorizationFlagPreAuthorize = (1 << 4),
    kAuthorizationFlagNoData = (1 << 20),
};

enum : OSStatus {
    errAuthorizationSuccess = 0,
    errAuthorizationInvalidSet = -60001,
    errAuthorizationInvalidRef = -60002,
    errAuthorizationInvalidTag = -60003,
    errAuthorizationInvalidPointer = -60004,
    errAuthorizationDenied = -60005,
    errAuthorizationCanceled = -60006,
    errAuthorizationInteractionNotAllowed = -60007,
    errAuthorizationInternal = -60008,
    errAuthorizationExternalizeNotAllowed = -60009,
    errAuthorizationInternalizeNotAllowed = -60010,
    errAuthorizationInvalidFlags = -60011,
    errAuthorizationToolExecuteFailure = -60031,
    errAuthorizationToolEnvironmentError = -60032,
    errAuthorizationBadAddress = -60033,
};

// Makes an empty authorisation; with rights given, obtains them as AuthorizationCopyRights does.
OSStatus AuthorizationCreate(const AuthorizationRights* rights, const AuthorizationEnvironment* environment,
                             AuthorizationFlags flags, AuthorizationRef* authorization);

// Releases the reference; with kAuthorizationFlagDestroyRights also the rights it proved through sudo
// (`sudo -k`). A right polkit keeps belongs to this process and ends with it.
OSStatus AuthorizationFree(AuthorizationRef authorization, AuthorizationFlags flags);

// Obtains every right in the set. Only the administrator right exists. Root holds it at once;
// anyone else proves it through polkit, whose agent asks when interaction is allowed, or, where
// polkit is missing or no agent answers, with `sudo -v`, asking for the password through a dialog
// of ours when interaction is allowed and a display is there.
OSStatus AuthorizationCopyRights(AuthorizationRef authorization, const AuthorizationRights* rights,
                                 const AuthorizationEnvironment* environment, AuthorizationFlags flags,
                                 AuthorizationRights** authorizedRights);

OSStatus AuthorizationFreeItemSet(AuthorizationItemSet* set);

// Starts the tool (an absolute path) with administrator rights and the arguments, each one argument,
// no shell involved; returns once it runs without waiting for it. With communicationsPipe given,
// *communicationsPipe is a stream connected to the tool's standard input and output. Through
// polkit, tools other than those the package's action implies (/bin/cp, /bin/rm) are asked for once more.
OSStatus AuthorizationExecuteWithPrivileges(AuthorizationRef authorization, const char* pathToTool,
                                            AuthorizationFlags options, char* const* arguments,
                                            FILE** communicationsPipe);
