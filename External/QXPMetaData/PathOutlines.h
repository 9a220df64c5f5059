// The outlines of the shapes on a page, in page points, from the drawing calls' geometry.
#pragma once

#include "DocumentModel.h"

#include <librevenge/librevenge.h>

#include <optional>
#include <string>
#include <vector>

namespace QUARK::QXPMETADATA {

// An ellipse as four cubic curves, turned by rotation degrees counterclockwise about its centre.
std::vector<PathCommand> EllipseOutline(double cx, double cy, double rx, double ry, double rotation);
// SVG-like path actions, reduced to absolute moves, lines, cubic and quadratic curves.
std::vector<PathCommand> PathOutline(const librevenge::RVNGPropertyListVector& path);
// The path notation of end marks ("m9 0 l-9 25 l6 -1.5 z"): moves, lines and cubic curves,
// absolute or relative. Stops at the first thing it cannot read.
std::vector<PathCommand> MarkerOutline(const std::string& path);
// An end mark from its path, its box ("x y width height") and its width; none when any is unusable.
std::optional<LineMarker> MarkerOf(const librevenge::RVNGProperty* path, const librevenge::RVNGProperty* box,
                                   const librevenge::RVNGProperty* width);
// A polygon or polyline through its points.
std::vector<PathCommand> PointsOutline(const librevenge::RVNGPropertyListVector* points, bool closed);

}  // namespace QUARK::QXPMETADATA
