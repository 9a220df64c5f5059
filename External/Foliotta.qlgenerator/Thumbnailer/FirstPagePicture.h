// The document's first page as the QuarkXPress metadata library draws it, on white.
#pragma once

#include "CairoHandles.h"

#include <string>

// An image surface whose longer side is longerSide pixels; null when the document cannot be
// read (missing, not QuarkXPress, a version the library does not read, damaged) or drawn.
CairoSurface DrawFirstPage(const std::string& documentPath, int longerSide);
