// The picture module draws text through the text module (libQXPMetaDataText.so, beside it),
// loaded at the first text box: pango and the font configuration take longer to load than a
// page without text takes to draw.
#pragma once

#include "DocumentModel.h"

#include <cairo.h>

namespace QUARK::QXPMETADATA {

// The name under which the text module exports its drawing function.
inline constexpr const char* kDrawTextBoxSymbol = "QXPMetaDataDrawTextBox";
using DrawTextBoxFunction = void (*)(cairo_t* cr, const TextBox* box);

// Draws the box's text through the module; without the module the text is left out.
void DrawTextBoxWithModule(cairo_t* cr, const TextBox& box);

}  // namespace QUARK::QXPMETADATA
