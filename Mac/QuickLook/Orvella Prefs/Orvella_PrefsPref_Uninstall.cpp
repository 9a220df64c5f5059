// The uninstall action: after the user confirms, copy the uninstaller this pane carries to "/temp"
// with administrator rights, start that copy and end the host, so that the uninstaller can remove
// the pane's own bundle.
#include "Orvella_PrefsPref.h"

#include <AppKit/NSWorkspace.h>

#include <cstdlib>

#include "PrivilegedCommandRunner.h"

namespace {

// How long the copy may take before the hand-off is given up.
const int kCopyTimeoutSeconds = 60;

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

    const char* arguments[] = {"-r", sourcePath.UTF8String(), "/temp", nullptr};
    if (runner.runTool("/bin/cp", arguments) != errAuthorizationSuccess) {
        runner.freeAuthorization();
        showUninstallFailedAlert();
        return;
    }
    runner.waitForTool(kCopyTimeoutSeconds);

    if (NSFileManager::defaultManager()->fileExistsAtPath("/temp/Orvella_Uninstaller.app")) {
        NSWorkspace::sharedWorkspace()->openFile("/temp/Orvella_Uninstaller.app");
        runner.freeAuthorization();
        std::exit(0);
    }
    runner.freeAuthorization();
    showUninstallFailedAlert();
}
