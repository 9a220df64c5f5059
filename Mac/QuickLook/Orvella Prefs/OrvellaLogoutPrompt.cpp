#include "OrvellaLogoutPrompt.h"

#include "OrvellaSettings.h"
#include "SendAppleEventToSystemProcess.h"

#include <AppKit/AppKit.h>

#include <cstdlib>

void OrvellaRunLogoutPrompt()
{
    NSModalResponse answer;
    {
        NSAlert alert;
        alert.setMessageText("Attention!");
        alert.setInformativeText("Please logout your system once to make the settings changed, that you have made.");
        alert.addButtonWithTitle("Logout");
        alert.addButtonWithTitle("Later");
        alert.setAlertStyle(NSWarningAlertStyle);
        answer = alert.runModal();
    }
    if (answer == NSAlertFirstButtonReturn) {
        SendAppleEventToSystemProcess(kAEReallyLogOut);
        return;
    }
    std::exit(0);
}

void OrvellaRunSettingsNotSavedAlert()
{
    NSAlert alert;
    alert.setMessageText("Settings Not Saved!");
    alert.setInformativeText(NSString::stringWithFormat(
        "The settings could not be written to \"%@\". Make sure the Foliotta preview generator is installed and that you may change it.",
        OrvellaSettingsFileForMessages()));
    alert.addButtonWithTitle("Ok");
    alert.setAlertStyle(NSWarningAlertStyle);
    alert.runModal();
}
