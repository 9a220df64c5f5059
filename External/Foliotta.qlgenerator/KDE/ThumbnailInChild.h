// Thumbnails drawn by the thumbnailer's own code in a child process, each with the thumbnailer's
// bounds: what KDE's thumbnail worker asks of the plugin, without the plugin's host at risk.
#pragma once

#include "SkinPalette.h"
#include "WarmChild.h"

#include <optional>
#include <string>
#include <vector>

struct ThumbnailInChildRequest {
    std::string documentPath;
    int size;  // the picture's longer side, in pixels
    const SkinPalette* skin;
    std::optional<SkinColor> background;
};

// A thumbnail's pixels as cairo and Qt both keep them: premultiplied ARGB, 32 bits a pixel in this
// machine's byte order (cairo's ARGB32, Qt's Format_ARGB32_Premultiplied), rows without padding.
struct ThumbnailPixels {
    int width = 0;
    int height = 0;
    std::string argb;
};

class ThumbnailInChildDrawer {
public:
    // fontConfiguration: the thumbnailer's fonts.conf, so that the faces are the thumbnailer's
    // ("": fontconfig's own). The child loads it, once in its life; the host's fonts stay as they were.
    explicit ThumbnailInChildDrawer(const std::string& fontConfiguration);
    ThumbnailInChildDrawer(const ThumbnailInChildDrawer&) = delete;
    ThumbnailInChildDrawer& operator=(const ThumbnailInChildDrawer&) = delete;

    // The pixels of the picture that foliotta-thumbnailer writes for this request (handed over as
    // they are drawn: no PNG to encode and decode again); nullopt when the document cannot be
    // drawn, or its drawing crashed or went over 10 s or 1 GiB. One child draws one request after
    // another; a new one follows a child that failed.
    std::optional<ThumbnailPixels> draw(const ThumbnailInChildRequest& request);

private:
    std::vector<std::string> environmentEntries_;  // the child's environment
    std::vector<char*> environment_;
    WarmChild child_;
};
