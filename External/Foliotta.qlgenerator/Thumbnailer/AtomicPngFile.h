// Writes a picture as PNG so that the output file either does not exist or is complete: to a
// temporary name in the same folder, renamed over the output only once fully written.
#pragma once

#include <cairo.h>

#include <string>

// False, with nothing left behind, when the picture could not be written.
bool WritePngAtomically(cairo_surface_t* picture, const std::string& outputPath);
