// The desktops' shared thumbnail cache ($XDG_CACHE_HOME/thumbnails): one PNG per file in each
// size folder and, under fail/, one per file a thumbnailer could not draw, each naming its file
// in a "Thumb::URI" text and often its type in "Thumb::Mimetype".
#pragma once

#include <string>

// $XDG_CACHE_HOME/thumbnails, ~/.cache/thumbnails by default.
std::string ThumbnailCacheFolder();

// Deletes the cached thumbnails and failure entries of QuarkXPress documents, and only those, so
// that they are drawn again. A document is told by the entry's type when it names one, else by
// the file's content ("XPR3" at offset 4) while the file is there, else by its name's extension.
// Returns how many entries went.
int DeleteQuarkXPressEntries(const std::string& cacheFolder);
