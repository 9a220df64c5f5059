// Where System Preferences finds an installed pane by its bundle name: the user's own copy in
// ~/Library/PreferencePanes wins over the one in /Library/PreferencePanes, as the panes' own
// install lookups have it.
#pragma once

#include <Foundation/Foundation.h>

#include <vector>

// The two folders, in the order they are examined.
std::vector<NSString> PreferencePaneFolders();

// The path of the bundle named bundleName ("Orvella.prefPane") in the first folder that holds
// anything of that name; empty when neither does or the name is not a plain file name.
NSString InstalledPanePath(const NSString& bundleName);
