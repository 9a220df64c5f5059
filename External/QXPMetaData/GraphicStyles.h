// The colours and line and fill styles of drawing calls.
#pragma once

#include "DocumentModel.h"

#include <librevenge/librevenge.h>

#include <string>
#include <vector>

namespace QUARK::QXPMETADATA {

// A drawing call's properties, falling back on the graphic style set before it.
struct StyledCall {
    const librevenge::RVNGPropertyList& call;
    const librevenge::RVNGPropertyList& style;
    const librevenge::RVNGProperty* operator[](const char* key) const;
};

// "#rrggbb" in lower case, or empty when the text is no such colour.
std::string NormalizedColor(const std::string& text);
RGBColor ColorOf(const std::string& text, RGBColor fallback = {});
// A colour counts as used when something is drawn with it: a fill or gradient, or a stroke.
std::vector<std::string> ColorsDrawnWith(const StyledCall& call);
GraphicStyle StyleOf(const StyledCall& call);

}  // namespace QUARK::QXPMETADATA
