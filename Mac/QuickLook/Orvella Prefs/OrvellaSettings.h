// Where the preview generator keeps its appearance settings, and how the pane reads and rewrites
// them. The generator bundle is looked for in the user's Library first, then in /Library.
#pragma once

#include <Foundation/Foundation.h>

#include <memory>
#include <optional>

// The generator's Resources folder that the last successful install lookup found; none at first.
extern std::optional<NSString> filePath;
// skin.plist as read when the pane's view last loaded; none when it could not be read.
extern std::unique_ptr<NSMutableDictionary> plistDict;

// Sets filePath when a generator bundle is installed; otherwise leaves it as it was.
void OrvellaLookUpInstall();
// Replaces plistDict with the contents of filePath/skin.plist (none when unreadable).
void OrvellaLoadSettings();
// filePath/skin.plist, or none without filePath.
std::optional<NSString> OrvellaSettingsFile();
// The settings file a message can name: the one in use, else where the user's copy would be.
NSString OrvellaSettingsFileForMessages();

// The stored value of a key, nil when absent or without a dictionary.
id OrvellaStoredValue(const NSString& key);
// The skin list position that "Skin Index" names: its integer value plus one, so 1 when the key
// or the dictionary is absent. Not checked against any list.
long long OrvellaStoredSkinListIndex();
// Sets "Skin Index" and "BGColor" in plistDict and writes it atomically to the settings file.
// NO when nothing was written: no dictionary, no settings folder, or the write failed.
BOOL OrvellaStoreSettings(const NSString& skinText, const NSString& backgroundText);
