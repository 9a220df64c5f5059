// The preview appearance kept in the generator's skin.plist ("Skin Index" and "BGColor"), read
// the way the preference pane reads it, and where that file is installed: the generator bundle in
// the user's Library first, then in /Library.
#pragma once

#include "SkinPalette.h"

#include <Foundation/Foundation.h>

#include <optional>

// A background colour's components from 0 to 1, in single precision as the stored text is read.
struct SkinBackgroundColor {
    float red, green, blue;
};

struct SkinSettings {
    long long skinListIndex = 1;                    // position in the pane's skin list; may lie outside it
    std::optional<SkinBackgroundColor> background;  // none: "none", the page alone
};

// The installed generator's Resources folder, which holds skin.plist: the user's Library when it
// holds a generator bundle, else /Library when that does; none when neither does. Only the
// bundle's existence is tested.
std::optional<NSString> InstalledSettingsFolder();

// "Skin Index": its integer value (the leading integer of a string, or a number) plus one; 1 when
// absent.
long long SkinListIndexFromValue(id value);

// "BGColor": none for exactly "none". Anything else is read as a colour: the first four
// characters and the last are dropped and the rest split at commas into red, green and blue, each
// divided by 255. A missing value, a text too short for that form or a missing part reads as 0,
// so an absent or malformed value gives black.
std::optional<SkinBackgroundColor> BackgroundFromValue(id value);

// The two settings of a settings file; the defaults (list index 1, black) when it cannot be read.
SkinSettings ReadSkinSettings(const NSString& settingsFile);

// The installed generator's settings; none when no generator bundle is installed.
std::optional<SkinSettings> ReadInstalledSkinSettings();

// A background colour in whole channels from 0 to 255 (rounded, and kept within that range), as
// the thumbnails draw it.
SkinColor SkinColorOf(const SkinBackgroundColor& color);
