// Draws one page on white paper with cairo: shapes with their fills and strokes, and the text
// laid out in its boxes (through the text module).
#pragma once

#include "DocumentModel.h"

#include <CoreGraphics/CoreGraphics.h>

namespace QUARK::QXPMETADATA {

// The longer side of the picture is longerSide pixels and the other keeps the page's proportion.
// NULL when the page has no usable size. The caller owns the image.
CGImageRef RenderPage(const PageSize& page, const std::vector<PageItem>& items, int longerSide);

}  // namespace QUARK::QXPMETADATA
