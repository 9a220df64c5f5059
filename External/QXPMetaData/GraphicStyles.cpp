#include "GraphicStyles.h"

#include "PathOutlines.h"
#include "PropertyValues.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace QUARK::QXPMETADATA {

using librevenge::RVNGProperty;

const RVNGProperty* StyledCall::operator[](const char* key) const {
    const RVNGProperty* property = call[key];
    return property != nullptr ? property : style[key];
}

std::string NormalizedColor(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return {};
    std::string color = "#";
    for (size_t i = 1; i < 7; ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        if (!std::isxdigit(static_cast<unsigned char>(c))) return {};
        color += c;
    }
    return color;
}

RGBColor ColorOf(const std::string& text, RGBColor fallback) {
    const std::string color = NormalizedColor(text);
    if (color.empty()) return fallback;
    const long value = std::strtol(color.c_str() + 1, nullptr, 16);
    return {((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0};
}

std::vector<std::string> ColorsDrawnWith(const StyledCall& call) {
    std::vector<std::string> colors;
    const std::string fill = Text(call["draw:fill"]);
    if (fill == "solid") {
        colors.push_back(Text(call["draw:fill-color"]));
    } else if (fill == "gradient") {
        colors.push_back(Text(call["draw:start-color"]));
        colors.push_back(Text(call["draw:end-color"]));
    }
    const std::string stroke = Text(call["draw:stroke"]);
    if (!stroke.empty() && stroke != "none") colors.push_back(Text(call["svg:stroke-color"]));
    return colors;
}

GraphicStyle StyleOf(const StyledCall& call) {
    GraphicStyle style;
    const std::string fill = Text(call["draw:fill"]);
    if (fill == "solid") {
        style.fill = FillKind::Solid;
        style.fillColor = ColorOf(Text(call["draw:fill-color"]));
    } else if (fill == "gradient") {
        const std::string kind = Text(call["draw:style"]);
        style.fill = kind == "linear" || kind == "axial" || kind.empty() ? FillKind::LinearGradient
                                                                         : FillKind::RadialGradient;
        style.gradientStart = ColorOf(Text(call["draw:start-color"]));
        style.gradientEnd = ColorOf(Text(call["draw:end-color"]), style.gradientStart);
        style.gradientAngle = Number(call["draw:angle"]);
        style.gradientCenterX = Number(call["draw:cx"], 0.5);
        style.gradientCenterY = Number(call["draw:cy"], 0.5);
    }
    const std::string stroke = Text(call["draw:stroke"]);
    if (!stroke.empty() && stroke != "none") {
        style.stroke = stroke == "dash" ? StrokeKind::Dash : StrokeKind::Solid;
        style.strokeColor = ColorOf(Text(call["svg:stroke-color"]));
        style.strokeWidth = std::max(0.0, Points(call["svg:stroke-width"]));
        if (const std::string cap = Text(call["svg:stroke-linecap"]); !cap.empty()) style.lineCap = cap;
        if (const std::string join = Text(call["svg:stroke-linejoin"]); !join.empty()) style.lineJoin = join;
    }
    if (style.stroke != StrokeKind::None) {
        style.startMarker = MarkerOf(call["draw:marker-start-path"], call["draw:marker-start-viewbox"],
                                     call["draw:marker-start-width"]);
        style.endMarker = MarkerOf(call["draw:marker-end-path"], call["draw:marker-end-viewbox"],
                                   call["draw:marker-end-width"]);
    }
    if (style.stroke == StrokeKind::Dash) {
        // Dash lengths given as a proportion are relative to the line width.
        const double unit = style.strokeWidth > 0 ? style.strokeWidth : 1;
        auto length = [&](const RVNGProperty* property) {
            if (property == nullptr) return unit;
            return property->getUnit() == librevenge::RVNG_PERCENT ? Number(property) * unit : Points(property);
        };
        const double gap = std::max(length(call["draw:distance"]), 0.1);
        for (const char* dots : {"draw:dots1", "draw:dots2"}) {
            const int count = std::clamp(static_cast<int>(Number(call[dots])), 0, 16);
            const double on = length(call[dots == std::string("draw:dots1") ? "draw:dots1-length"
                                                                            : "draw:dots2-length"]);
            for (int i = 0; i < count; ++i) style.dashes.insert(style.dashes.end(), {std::max(on, 0.0), gap});
        }
    }
    return style;
}

}  // namespace QUARK::QXPMETADATA
