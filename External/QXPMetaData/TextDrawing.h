// Lays out and draws the text of one box with pango, in the box's frame (turned with it), hiding
// what does not fit. Lives in a module of its own (libQXPMetaDataText.so) so that pages without
// text never load pango, its libraries or the font configuration.
#pragma once

#include "DocumentModel.h"

#include <cairo.h>

namespace QUARK::QXPMETADATA {

void DrawTextBox(cairo_t* cr, const TextBox& box);

}  // namespace QUARK::QXPMETADATA
