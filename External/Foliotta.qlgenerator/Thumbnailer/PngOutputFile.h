// Writes the thumbnail as PNG so that the caller never reads a half-written picture. The PNG is
// made in memory first, so a failure to encode touches no file; the file is written as
// OutputFile.h says.
#pragma once

#include <cairo.h>

#include <string>

// False when the picture could not be written; see WriteOutputFile for what is left then.
bool WritePngFile(cairo_surface_t* picture, const std::string& outputPath);
