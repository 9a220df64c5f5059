#include "Orvella_AppDelegate.h"

#include <Foundation/NSAutoreleasePool.h>

#include <cstdlib>

#include "PrivilegedCommandRunner.h"

static NSApplicationDelegateRegistration<Orvella_AppDelegate> registration("Orvella_AppDelegate");

namespace {

// The user's copy when there is one, else the system's, else an empty path.
NSString installedCopy(NSFileManager* fileManager, const NSString& userPath, const NSString& systemPath)
{
    if (fileManager->fileExistsAtPath(userPath))
        return userPath;
    if (fileManager->fileExistsAtPath(systemPath))
        return systemPath;
    return NSString();
}

// Removes the bundle with "/bin/rm -rf" as administrator and waits for the removal to end, so
// that success is reported only when the bundle is really gone.
bool removeBundle(PrivilegedCommandRunner& runner, NSFileManager* fileManager, const NSString& bundlePath)
{
    const char* arguments[] = {"-rf", bundlePath.UTF8String(), nullptr};
    if (runner.runTool("/bin/rm", arguments) != errAuthorizationSuccess)
        return false;
    runner.waitForTool(-1);
    return !fileManager->fileExistsAtPath(bundlePath);
}

// Runs the uninstaller's one alert and ends the process, whatever the outcome, with status 0.
[[noreturn]] void reportAndExit(NSAutoreleasePool* pool, bool succeeded)
{
    NSAlert* alert = new NSAlert();
    if (succeeded) {
        alert->setMessageText("Successfully uninstalled!");
        alert->setInformativeText("Thanks for using Brimwell's product.");
    } else {
        alert->setMessageText("Failed!");
        alert->setInformativeText("Failed to acquire root  access.");
    }
    alert->addButtonWithTitle("Ok");
    alert->setAlertStyle(NSInformationalAlertStyle);
    alert->runModal();
    delete alert;
    pool->release();
    std::exit(0);
}

} // namespace

void Orvella_AppDelegate::nibConnections(NSNibConnections& connections) { connections.outlet("window", window); }

void Orvella_AppDelegate::applicationDidFinishLaunching(id)
{
    if (window != nil)
        window->orderOut(this);
    NSAutoreleasePool* pool = new NSAutoreleasePool();

    NSFileManager* fileManager = NSFileManager::defaultManager();
    const NSString userGeneratorPath =
        NSString::stringWithFormat("%@/Library/QuickLook/Foliotta.qlgenerator", NSHomeDirectory());
    const NSString userPanePath =
        NSString::stringWithFormat("%@/Library/PreferencePanes/Orvella.prefPane", NSHomeDirectory());

    PrivilegedCommandRunner runner;
    if (runner.createAuthorization() != errAuthorizationSuccess)
        reportAndExit(pool, false);
    if (runner.acquireAdminRight() != errAuthorizationSuccess)
        reportAndExit(pool, false);

    bool removalsSucceeded = true;
    const NSString generator =
        installedCopy(fileManager, userGeneratorPath, "/Library/QuickLook/Foliotta.qlgenerator");
    const bool generatorMissing = generator.length() == 0;
    if (!generatorMissing)
        removalsSucceeded = removeBundle(runner, fileManager, generator);

    const NSString pane = installedCopy(fileManager, userPanePath, "/Library/PreferencePanes/Orvella.prefPane");
    if (pane.length() == 0)
        reportAndExit(pool, false);
    removalsSucceeded = removeBundle(runner, fileManager, pane) && removalsSucceeded;

    reportAndExit(pool, !generatorMissing && removalsSucceeded);
}
