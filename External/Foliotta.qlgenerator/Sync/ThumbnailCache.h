// The desktops' shared thumbnail cache ($XDG_CACHE_HOME/thumbnails): one PNG per file in each
// size folder and, under fail/, one per file a thumbnailer could not draw, each naming its file
// in a "Thumb::URI" text and often its type in "Thumb::Mimetype".
#pragma once

#include <string>

// $XDG_CACHE_HOME/thumbnails, ~/.cache/thumbnails by default.
std::string ThumbnailCacheFolder();

// Deletes the cached thumbnails and failure entries of QuarkXPress documents, and only those, so
// that they are drawn again. A document is told by the entry's type when it names one, else by
// the type database from the file's content while the file is there, else from its name. Links
// inside the cache are never followed, and no file that the cache names is waited on (a FIFO).
// Returns how many entries went.
int DeleteQuarkXPressEntries(const std::string& cacheFolder);
