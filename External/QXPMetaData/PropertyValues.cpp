#include "PropertyValues.h"

#include <cmath>

namespace QUARK::QXPMETADATA {

using librevenge::RVNGProperty;

std::string Text(const RVNGProperty* property) {
    if (property == nullptr) return {};
    const librevenge::RVNGString text = property->getStr();
    return text.cstr() != nullptr ? std::string(text.cstr()) : std::string();
}

double Points(const RVNGProperty* property, double fallback) {
    if (property == nullptr) return fallback;
    const double value = property->getDouble();
    if (!std::isfinite(value)) return fallback;
    switch (property->getUnit()) {
    case librevenge::RVNG_INCH: return value * 72;
    case librevenge::RVNG_TWIP: return value / 20;
    default: return value;
    }
}

double Number(const RVNGProperty* property, double fallback) {
    if (property == nullptr) return fallback;
    const double value = property->getDouble();
    return std::isfinite(value) ? value : fallback;
}

}  // namespace QUARK::QXPMETADATA
