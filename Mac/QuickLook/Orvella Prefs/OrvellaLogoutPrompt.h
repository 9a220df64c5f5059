// After every stored change: asks the user to log out so that Quick Look picks the settings up.
#pragma once

// "Logout" asks the system to end the session and returns; "Later" ends the hosting process.
void OrvellaRunLogoutPrompt();

// Tells the user that nothing was stored, naming the settings file.
void OrvellaRunSettingsNotSavedAlert();
