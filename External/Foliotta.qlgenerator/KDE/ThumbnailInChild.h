// A thumbnail drawn by the thumbnailer's own code, in a child process with the thumbnailer's
// bounds: what KDE's thumbnail worker asks of the plugin, without the plugin's host at risk.
#pragma once

#include "SkinPalette.h"

#include <optional>
#include <string>

struct ThumbnailInChildRequest {
    std::string documentPath;
    int size;  // the picture's longer side, in pixels
    const SkinPalette* skin;
    std::optional<SkinColor> background;
    std::string fontConfiguration;  // the thumbnailer's fonts.conf, so the faces are the thumbnailer's
};

// The same PNG bytes that foliotta-thumbnailer writes for this request; nullopt when the document
// cannot be drawn, or its drawing crashed or went over 10 s or 1 GiB.
std::optional<std::string> ThumbnailPngInChild(const ThumbnailInChildRequest& request);
