// The thumbnail of a page in a skin: the page with the skin's border and folded corner, on the
// chosen background colour or, without one, alone.
#pragma once

#include "CairoHandles.h"
#include "SkinPalette.h"

#include <functional>
#include <optional>

// Draws the page at the size it will have in the thumbnail (longer side in pixels); null on failure.
using PageDrawer = std::function<CairoSurface(int longerSide)>;

// A picture whose longer side is size pixels: with a background, the page sits inside a margin
// of that colour; without, the page fills the picture. Null when the page cannot be drawn.
CairoSurface DrawSkinnedThumbnail(const PageDrawer& drawPage, int size, const SkinPalette& skin,
                                  const std::optional<SkinColor>& background);
