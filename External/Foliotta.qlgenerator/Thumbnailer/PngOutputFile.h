// Writes the thumbnail as PNG so that the caller never reads a half-written picture. The PNG is
// made in memory first, so a failure to encode touches no file. A new output file is written
// under a temporary name and renamed into place once complete. An output file that already
// exists was made by the caller, which may read it through the handle it keeps (Tumbler does):
// a rename would leave that handle on an empty file, so the picture goes into the file itself.
#pragma once

#include <cairo.h>

#include <string>

// False, with no output file left behind, when the picture could not be written.
bool WritePngFile(cairo_surface_t* picture, const std::string& outputPath);
