// The preview's appearance as the pane stores it, read the way the pane reads it when its view
// loads, for programs that apply it (the generator's thumbnails and previews).
#pragma once

#include "OrvellaColorText.h"

#include <optional>

struct OrvellaAppearance {
    long long skinListIndex;       // position in the pane's skin list; may lie outside it
    OrvellaBackground background;  // "none" or a colour; black when unset or unreadable
};

// Looks the generator bundle up (the user's Library first, then /Library), reads its skin.plist
// and the two settings from it. None when neither install root holds a generator bundle.
std::optional<OrvellaAppearance> OrvellaReadAppearance();
