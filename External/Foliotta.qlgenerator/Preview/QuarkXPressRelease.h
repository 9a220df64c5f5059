// Which release of QuarkXPress saved a document, as its header says: for telling why a document
// cannot be previewed.
#pragma once

#include <optional>
#include <string>

// The major release (3, 4, 5 or 6) of a regular file whose header holds a version code we know;
// nothing for anything else. Never waits on a file that is not a regular one.
std::optional<int> QuarkXPressReleaseOf(const std::string& path);
