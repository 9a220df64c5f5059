// The uninstall action: after the user confirms, copy the uninstaller this pane carries to "/temp"
// with administrator rights, start that copy and end the host, so that the uninstaller can remove
// the pane's own bundle.
#include "Orvella_PrefsPref.h"

#include <AppKit/NSWorkspace.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "PrivilegedCommandRunner.h"

namespace {

// How long the copy may take before the hand-off is given up.
const int kCopyTimeoutSeconds = 60;

const char* const kHandOffFolder = "/temp";
const char* const kHandedOffCopy = "/temp/Orvella_Uninstaller.app";

// Owned by root or by whoever runs the pane, writable by no one else, and not a symbolic link.
bool isBeyondOthersReach(const std::filesystem::path& path)
{
    struct stat status = {};
    if (lstat(path.c_str(), &status) != 0 || S_ISLNK(status.st_mode))
        return false;
    if (status.st_uid != 0 && status.st_uid != geteuid())
        return false;
    return (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The path and, for a folder, everything in it.
bool everythingIsBeyondOthersReach(const std::filesystem::path& top)
{
    if (!isBeyondOthersReach(top))
        return false;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator entry(top, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!isBeyondOthersReach(entry->path()))
            return false;
    }
    return !error;
}

// The copy is opened in the user's session and then asks for the administrator's password, and
// root copies into "/temp" through whatever links it finds there. So "/temp", and the copy when it
// is there or required, must be beyond the reach of other users, with no symbolic link anywhere.
// A missing "/temp" is no risk: the copy then makes it.
bool handOffPlaceCanBeTrusted(bool copyRequired)
{
    struct stat folder = {};
    if (lstat(kHandOffFolder, &folder) != 0)
        return !copyRequired;
    if (!S_ISDIR(folder.st_mode) || !isBeyondOthersReach(kHandOffFolder))
        return false;
    struct stat copy = {};
    if (lstat(kHandedOffCopy, &copy) != 0)
        return !copyRequired;
    return everythingIsBeyondOthersReach(kHandedOffCopy);
}

void showUninstallFailedAlert()
{
    NSAlert* alert = new NSAlert();
    alert->setMessageText("UnInstall Failed!");
    alert->addButtonWithTitle("Ok");
    alert->setAlertStyle(NSInformationalAlertStyle);
    alert->runModal();
    delete alert;
}

} // namespace

void Orvella_PrefsPref::uninstall(id)
{
    NSAlert* confirmation = new NSAlert();
    confirmation->setMessageText("UnInstall!");
    confirmation->setInformativeText("Do you want to un-install the product?");
    confirmation->addButtonWithTitle("Yes");
    confirmation->addButtonWithTitle("Cancel");
    confirmation->setAlertStyle(NSInformationalAlertStyle);
    const NSModalResponse answer = confirmation->runModal();
    delete confirmation;
    if (answer != NSAlertFirstButtonReturn)
        return;

    NSBundle* paneBundle = NSBundle::bundleWithIdentifier("com.brimwell.prefPane.Orvella");
    const NSString resourcePath = paneBundle != nil ? paneBundle->resourcePath() : NSString("(null)");
    const NSString sourcePath = NSString::stringWithFormat("%@/Orvella_Uninstaller.app", resourcePath);

    PrivilegedCommandRunner runner;
    if (runner.createAuthorization() != errAuthorizationSuccess) {
        showUninstallFailedAlert();
        return;
    }
    // A refused right is logged; the copy is tried all the same and its outcome decides.
    runner.acquireAdminRight();

    const char* arguments[] = {"-r", sourcePath.UTF8String(), kHandOffFolder, nullptr};
    if (!handOffPlaceCanBeTrusted(false) || runner.runTool("/bin/cp", arguments) != errAuthorizationSuccess) {
        runner.freeAuthorization();
        showUninstallFailedAlert();
        return;
    }
    runner.waitForTool(kCopyTimeoutSeconds);

    if (NSFileManager::defaultManager()->fileExistsAtPath(kHandedOffCopy) && handOffPlaceCanBeTrusted(true)) {
        NSWorkspace::sharedWorkspace()->openFile(kHandedOffCopy);
        runner.freeAuthorization();
        std::exit(0);
    }
    runner.freeAuthorization();
    showUninstallFailedAlert();
}
