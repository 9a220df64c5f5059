// The values of the reader library's drawing calls, read as the collector needs them.
#pragma once

#include <librevenge/librevenge.h>

#include <string>

namespace QUARK::QXPMETADATA {

std::string Text(const librevenge::RVNGProperty* property);
// Lengths arrive in points, inches or twips; a plain number is taken as points.
double Points(const librevenge::RVNGProperty* property, double fallback = 0);
double Number(const librevenge::RVNGProperty* property, double fallback = 0);

}  // namespace QUARK::QXPMETADATA
