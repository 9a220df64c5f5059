// What a desktop asks the thumbnailer for, from its command line:
//   foliotta-thumbnailer [-s SIZE] [--skin TITLE] [--background none|R,G,B] INPUT OUTPUT
// INPUT is a path or a file:// URI; OUTPUT the PNG to write.
#pragma once

#include "SkinPalette.h"

#include <optional>
#include <string>
#include <vector>

inline constexpr int kLargestThumbnail = 4096;

struct ThumbnailRequest {
    std::string documentPath;
    std::string outputPath;
    int size = 256;                        // the picture's longer side, in pixels
    const SkinPalette* skin = nullptr;     // never null once parsed
    std::optional<SkinColor> background;   // none: the page alone
};

// nullopt, with the reason in error, when the arguments do not make a request. An unknown skin
// title gives the first skin, as the pane shows a skin it does not know; the default is the
// first skin with no background, as installed.
std::optional<ThumbnailRequest> ParseThumbnailRequest(const std::vector<std::string>& arguments, std::string& error);

// The local path a file:// URI names (percent escapes decoded); a plain path stays as it is.
// nullopt for other schemes and malformed escapes.
std::optional<std::string> LocalPathOf(const std::string& pathOrURI);
