// The look the user chose in the pane: a skin and, optionally, a background colour behind the page.
#pragma once

#include "SkinPalette.h"

#include <QColor>

#include <optional>

struct PreviewLook {
    const SkinPalette* skin;
    std::optional<QColor> background;  // none: the page stands on the skin's backdrop
};

// Read from skin.plist the way the pane reads it (the user's Library first, then /Library). With
// no generator bundle installed: the first skin and no background colour, as installed.
PreviewLook ReadPreviewLook();

QColor SkinQColor(const SkinColor& color);
