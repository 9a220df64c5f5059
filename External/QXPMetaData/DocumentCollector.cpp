#include "DocumentCollector.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace QUARK::QXPMETADATA {

using librevenge::RVNGProperty;
using librevenge::RVNGPropertyList;
using librevenge::RVNGPropertyListVector;

namespace {

std::string Text(const RVNGProperty* property) {
    if (property == nullptr) return {};
    const librevenge::RVNGString text = property->getStr();
    return text.cstr() != nullptr ? std::string(text.cstr()) : std::string();
}

// Lengths arrive in points, inches or twips; a plain number is taken as points.
double Points(const RVNGProperty* property, double fallback = 0) {
    if (property == nullptr) return fallback;
    const double value = property->getDouble();
    if (!std::isfinite(value)) return fallback;
    switch (property->getUnit()) {
    case librevenge::RVNG_INCH: return value * 72;
    case librevenge::RVNG_TWIP: return value / 20;
    default: return value;
    }
}

double Number(const RVNGProperty* property, double fallback = 0) {
    if (property == nullptr) return fallback;
    const double value = property->getDouble();
    return std::isfinite(value) ? value : fallback;
}

// "#rrggbb" in lower case, or empty when the text is no such colour.
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

RGBColor ColorOf(const std::string& text, RGBColor fallback = {}) {
    const std::string color = NormalizedColor(text);
    if (color.empty()) return fallback;
    const long value = std::strtol(color.c_str() + 1, nullptr, 16);
    return {((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0};
}

bool IsBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

bool Decorated(const RVNGPropertyList& span, const char* type, const char* style) {
    const std::string typeText = Text(span[type]);
    const std::string styleText = Text(span[style]);
    if (!typeText.empty()) return typeText != "none";
    return !styleText.empty() && styleText != "none";
}

// An ellipse as four cubic curves, turned by rotation degrees counterclockwise about its centre.
std::vector<PathCommand> EllipseOutline(double cx, double cy, double rx, double ry, double rotation) {
    constexpr double kappa = 0.5522847498;
    const double angle = -rotation * M_PI / 180;  // counterclockwise on a page whose y runs down
    const double c = std::cos(angle), s = std::sin(angle);
    auto place = [&](double x, double y) { return std::pair{cx + x * c - y * s, cy + x * s + y * c}; };
    const double points[13][2] = {{rx, 0},          {rx, kappa * ry},  {kappa * rx, ry},  {0, ry},
                                  {-kappa * rx, ry}, {-rx, kappa * ry}, {-rx, 0},         {-rx, -kappa * ry},
                                  {-kappa * rx, -ry}, {0, -ry},        {kappa * rx, -ry}, {rx, -kappa * ry},
                                  {rx, 0}};
    std::vector<PathCommand> outline;
    auto [x0, y0] = place(points[0][0], points[0][1]);
    outline.push_back({'M', x0, y0});
    for (int i = 1; i < 13; i += 3) {
        auto [ax, ay] = place(points[i][0], points[i][1]);
        auto [bx, by] = place(points[i + 1][0], points[i + 1][1]);
        auto [ex, ey] = place(points[i + 2][0], points[i + 2][1]);
        outline.push_back({'C', ex, ey, ax, ay, bx, by});
    }
    outline.push_back({'Z'});
    return outline;
}

// SVG-like path actions, reduced to absolute moves, lines, cubic and quadratic curves.
std::vector<PathCommand> PathOutline(const RVNGPropertyListVector& path) {
    std::vector<PathCommand> outline;
    double x = 0, y = 0, lastControlX = 0, lastControlY = 0;
    char previous = 0;
    for (unsigned long i = 0; i < path.count(); ++i) {
        const RVNGPropertyList& step = path[i];
        const std::string actionText = Text(step["librevenge:path-action"]);
        if (actionText.empty()) continue;
        const char action = static_cast<char>(std::toupper(static_cast<unsigned char>(actionText[0])));
        PathCommand command;
        command.x = Points(step["svg:x"], x);
        command.y = Points(step["svg:y"], y);
        switch (action) {
        case 'M':
        case 'L':
        case 'A':  // arcs are drawn as straight segments
            command.action = action == 'M' ? 'M' : 'L';
            break;
        case 'H':
            command.action = 'L', command.y = y;
            break;
        case 'V':
            command.action = 'L', command.x = x;
            break;
        case 'C':
        case 'S': {
            command.action = 'C';
            // A smooth curve carries its one control point in x1/y1 (x2/y2 may be left over).
            const bool smooth = action == 'S';
            const bool reflect = previous == 'C' || previous == 'S';
            command.x1 = smooth ? (reflect ? 2 * x - lastControlX : x) : Points(step["svg:x1"], x);
            command.y1 = smooth ? (reflect ? 2 * y - lastControlY : y) : Points(step["svg:y1"], y);
            command.x2 = Points(step[smooth ? "svg:x1" : "svg:x2"], command.x);
            command.y2 = Points(step[smooth ? "svg:y1" : "svg:y2"], command.y);
            lastControlX = command.x2, lastControlY = command.y2;
            break;
        }
        case 'Q':
        case 'T': {
            command.action = 'Q';
            const bool reflect = action == 'T' && (previous == 'Q' || previous == 'T');
            command.x1 = action == 'T' ? (reflect ? 2 * x - lastControlX : x) : Points(step["svg:x1"], x);
            command.y1 = action == 'T' ? (reflect ? 2 * y - lastControlY : y) : Points(step["svg:y1"], y);
            lastControlX = command.x1, lastControlY = command.y1;
            break;
        }
        case 'Z':
            command.action = 'Z';
            break;
        default:
            continue;
        }
        outline.push_back(command);
        if (action != 'Z') x = command.x, y = command.y;
        previous = action;
    }
    return outline;
}

// The path notation of end marks ("m9 0 l-9 25 l6 -1.5 z"): moves, lines and cubic curves,
// absolute or relative.
std::vector<PathCommand> MarkerOutline(const std::string& path) {
    std::vector<PathCommand> outline;
    const char* cursor = path.c_str();
    char action = 0;
    double x = 0, y = 0, startX = 0, startY = 0;
    auto number = [&](double& value) {
        while (*cursor == ' ' || *cursor == ',') ++cursor;
        char* end = nullptr;
        value = std::strtod(cursor, &end);
        if (end == cursor || !std::isfinite(value)) return false;
        cursor = end;
        return true;
    };
    while (*cursor != 0 && outline.size() < 1000) {
        while (*cursor == ' ' || *cursor == ',') ++cursor;
        if (std::isalpha(static_cast<unsigned char>(*cursor))) action = *cursor++;
        if (action == 0) break;
        const bool relative = std::islower(static_cast<unsigned char>(action));
        const double baseX = relative ? x : 0, baseY = relative ? y : 0;
        PathCommand command;
        switch (std::toupper(static_cast<unsigned char>(action))) {
        case 'Z':
            outline.push_back({'Z'});
            x = startX, y = startY;
            action = 0;
            continue;
        case 'M':
        case 'L':
            if (!number(command.x) || !number(command.y)) return outline;
            command.action = std::toupper(static_cast<unsigned char>(action)) == 'M' ? 'M' : 'L';
            break;
        case 'H':
            if (!number(command.x)) return outline;
            command.action = 'L', command.y = y - baseY;
            break;
        case 'V':
            if (!number(command.y)) return outline;
            command.action = 'L', command.x = x - baseX;
            break;
        case 'C':
            if (!number(command.x1) || !number(command.y1) || !number(command.x2) || !number(command.y2) ||
                !number(command.x) || !number(command.y))
                return outline;
            command.action = 'C';
            command.x1 += baseX, command.y1 += baseY, command.x2 += baseX, command.y2 += baseY;
            break;
        default:
            return outline;
        }
        command.x += baseX, command.y += baseY;
        outline.push_back(command);
        x = command.x, y = command.y;
        if (command.action == 'M') {
            startX = x, startY = y;
            action = relative ? 'l' : 'L';  // further pairs after a move are lines
        }
    }
    return outline;
}

std::optional<LineMarker> MarkerOf(const RVNGProperty* path, const RVNGProperty* box, const RVNGProperty* width) {
    if (path == nullptr || box == nullptr || width == nullptr) return std::nullopt;
    LineMarker marker;
    marker.outline = MarkerOutline(Text(path));
    const std::string boxText = Text(box);
    if (std::sscanf(boxText.c_str(), "%lf %lf %lf %lf", &marker.boxX, &marker.boxY, &marker.boxWidth,
                    &marker.boxHeight) != 4)
        return std::nullopt;
    marker.width = Points(width);
    if (marker.outline.empty() || !(marker.boxWidth > 0) || !(marker.boxHeight > 0) || !(marker.width > 0) ||
        marker.width > 10000)
        return std::nullopt;
    return marker;
}

std::vector<PathCommand> PointsOutline(const RVNGPropertyListVector* points, bool closed) {
    std::vector<PathCommand> outline;
    if (points == nullptr) return outline;
    for (unsigned long i = 0; i < points->count(); ++i)
        outline.push_back({i == 0 ? 'M' : 'L', Points((*points)[i]["svg:x"]), Points((*points)[i]["svg:y"])});
    if (closed && !outline.empty()) outline.push_back({'Z'});
    return outline;
}

}  // namespace

DocumentCollector::DocumentCollector(DocumentModel& model, bool keepFirstPageDrawing)
    : fModel(model), fKeepFirstPageDrawing(keepFirstPageDrawing) {}

void DocumentCollector::startPage(const RVNGPropertyList& propList) {
    FlushPageText();
    fModel.pages.push_back({Points(propList["svg:width"]), Points(propList["svg:height"])});
}

const RVNGProperty* DocumentCollector::Lookup(const RVNGPropertyList& call, const char* key) const {
    const RVNGProperty* property = call[key];
    return property != nullptr ? property : fStyle[key];
}

void DocumentCollector::NoteColor(const std::string& text) {
    const std::string color = NormalizedColor(text);
    if (!color.empty() && std::find(fModel.colors.begin(), fModel.colors.end(), color) == fModel.colors.end())
        fModel.colors.push_back(color);
}

void DocumentCollector::NoteFont(const std::string& font) {
    if (!font.empty() && std::find(fModel.fonts.begin(), fModel.fonts.end(), font) == fModel.fonts.end())
        fModel.fonts.push_back(font);
}

// A colour counts as used when something is drawn with it: a fill or gradient, or a stroke.
void DocumentCollector::NoteShapeColors(const RVNGPropertyList& call) {
    const std::string fill = Text(Lookup(call, "draw:fill"));
    if (fill == "solid") {
        NoteColor(Text(Lookup(call, "draw:fill-color")));
    } else if (fill == "gradient") {
        NoteColor(Text(Lookup(call, "draw:start-color")));
        NoteColor(Text(Lookup(call, "draw:end-color")));
    }
    const std::string stroke = Text(Lookup(call, "draw:stroke"));
    if (!stroke.empty() && stroke != "none") NoteColor(Text(Lookup(call, "svg:stroke-color")));
}

GraphicStyle DocumentCollector::StyleOf(const RVNGPropertyList& call) const {
    GraphicStyle style;
    const std::string fill = Text(Lookup(call, "draw:fill"));
    if (fill == "solid") {
        style.fill = FillKind::Solid;
        style.fillColor = ColorOf(Text(Lookup(call, "draw:fill-color")));
    } else if (fill == "gradient") {
        const std::string kind = Text(Lookup(call, "draw:style"));
        style.fill = kind == "linear" || kind == "axial" || kind.empty() ? FillKind::LinearGradient
                                                                         : FillKind::RadialGradient;
        style.gradientStart = ColorOf(Text(Lookup(call, "draw:start-color")));
        style.gradientEnd = ColorOf(Text(Lookup(call, "draw:end-color")), style.gradientStart);
        style.gradientAngle = Number(Lookup(call, "draw:angle"));
        style.gradientCenterX = Number(Lookup(call, "draw:cx"), 0.5);
        style.gradientCenterY = Number(Lookup(call, "draw:cy"), 0.5);
    }
    const std::string stroke = Text(Lookup(call, "draw:stroke"));
    if (!stroke.empty() && stroke != "none") {
        style.stroke = stroke == "dash" ? StrokeKind::Dash : StrokeKind::Solid;
        style.strokeColor = ColorOf(Text(Lookup(call, "svg:stroke-color")));
        style.strokeWidth = std::max(0.0, Points(Lookup(call, "svg:stroke-width")));
        if (const std::string cap = Text(Lookup(call, "svg:stroke-linecap")); !cap.empty()) style.lineCap = cap;
        if (const std::string join = Text(Lookup(call, "svg:stroke-linejoin")); !join.empty()) style.lineJoin = join;
    }
    if (style.stroke != StrokeKind::None) {
        style.startMarker = MarkerOf(Lookup(call, "draw:marker-start-path"), Lookup(call, "draw:marker-start-viewbox"),
                                     Lookup(call, "draw:marker-start-width"));
        style.endMarker = MarkerOf(Lookup(call, "draw:marker-end-path"), Lookup(call, "draw:marker-end-viewbox"),
                                   Lookup(call, "draw:marker-end-width"));
    }
    if (style.stroke == StrokeKind::Dash) {
        // Dash lengths given as a proportion are relative to the line width.
        const double unit = style.strokeWidth > 0 ? style.strokeWidth : 1;
        auto length = [&](const RVNGProperty* property) {
            if (property == nullptr) return unit;
            return property->getUnit() == librevenge::RVNG_PERCENT ? Number(property) * unit : Points(property);
        };
        const double gap = std::max(length(Lookup(call, "draw:distance")), 0.1);
        for (const char* dots : {"draw:dots1", "draw:dots2"}) {
            const int count = std::clamp(static_cast<int>(Number(Lookup(call, dots))), 0, 16);
            const double on = length(Lookup(call, dots == std::string("draw:dots1") ? "draw:dots1-length"
                                                                                   : "draw:dots2-length"));
            for (int i = 0; i < count; ++i) style.dashes.insert(style.dashes.end(), {std::max(on, 0.0), gap});
        }
    }
    return style;
}

void DocumentCollector::AddShape(const RVNGPropertyList& call, std::vector<PathCommand> outline) {
    if (Ignoring()) return;
    NoteShapeColors(call);
    if (!KeepingDrawing() || outline.empty()) return;
    PageItem item;
    item.zIndex = Number(call["draw:z-index"]);
    item.shape = Shape{std::move(outline), StyleOf(call)};
    fModel.firstPageItems.push_back(std::move(item));
}

void DocumentCollector::drawRectangle(const RVNGPropertyList& propList) {
    const double x = Points(propList["svg:x"]), y = Points(propList["svg:y"]);
    const double w = Points(propList["svg:width"]), h = Points(propList["svg:height"]);
    AddShape(propList, {{'M', x, y}, {'L', x + w, y}, {'L', x + w, y + h}, {'L', x, y + h}, {'Z'}});
}

void DocumentCollector::drawEllipse(const RVNGPropertyList& propList) {
    AddShape(propList, EllipseOutline(Points(propList["svg:cx"]), Points(propList["svg:cy"]),
                                      Points(propList["svg:rx"]), Points(propList["svg:ry"]),
                                      Number(propList["librevenge:rotate"])));
}

void DocumentCollector::drawPolygon(const RVNGPropertyList& propList) {
    AddShape(propList, PointsOutline(propList.child("svg:points"), true));
}

void DocumentCollector::drawPolyline(const RVNGPropertyList& propList) {
    AddShape(propList, PointsOutline(propList.child("svg:points"), false));
}

void DocumentCollector::drawPath(const RVNGPropertyList& propList) {
    const RVNGPropertyListVector* path = propList.child("svg:d");
    AddShape(propList, path != nullptr ? PathOutline(*path) : std::vector<PathCommand>{});
}

void DocumentCollector::startTextObject(const RVNGPropertyList& propList) {
    fParagraphText.clear();
    fTextBox.reset();
    fTextBoxZ = Number(propList["draw:z-index"]);
    if (!KeepingDrawing()) return;
    TextBox box;
    box.x = Points(propList["svg:x"]);
    box.y = Points(propList["svg:y"]);
    box.width = std::max(0.0, Points(propList["svg:width"]));
    box.height = std::max(0.0, Points(propList["svg:height"]));
    box.paddingLeft = Points(propList["fo:padding-left"]);
    box.paddingRight = Points(propList["fo:padding-right"]);
    box.paddingTop = Points(propList["fo:padding-top"]);
    box.paddingBottom = Points(propList["fo:padding-bottom"]);
    // The reader library turns text objects clockwise for a positive angle, the opposite of its
    // shapes; the model holds counterclockwise degrees for both.
    box.rotation = -Number(propList["librevenge:rotate"]);
    if (const std::string align = Text(propList["draw:textarea-vertical-align"]); !align.empty())
        box.verticalAlign = align;
    fTextBox = std::move(box);
}

void DocumentCollector::endTextObject() {
    FinishParagraph();
    if (fTextBox && KeepingDrawing()) {
        PageItem item;
        item.zIndex = fTextBoxZ;
        item.textBox = std::move(fTextBox);
        fModel.firstPageItems.push_back(std::move(item));
    }
    fTextBox.reset();
}

void DocumentCollector::openParagraph(const RVNGPropertyList& propList) {
    FinishParagraph();
    if (!fTextBox) return;
    TextParagraph paragraph;
    if (const std::string align = Text(propList["fo:text-align"]); !align.empty()) paragraph.align = align;
    if (const RVNGProperty* lineHeight = propList["fo:line-height"]) {
        if (lineHeight->getUnit() == librevenge::RVNG_PERCENT) paragraph.lineHeightFactor = Number(lineHeight);
        else paragraph.lineHeight = std::max(0.0, Points(lineHeight));
    }
    paragraph.marginLeft = Points(propList["fo:margin-left"]);
    paragraph.marginRight = Points(propList["fo:margin-right"]);
    paragraph.marginTop = Points(propList["fo:margin-top"]);
    paragraph.marginBottom = Points(propList["fo:margin-bottom"]);
    paragraph.indent = Points(propList["fo:text-indent"]);
    fTextBox->paragraphs.push_back(std::move(paragraph));
}

void DocumentCollector::closeParagraph() { FinishParagraph(); }

// A paragraph counts when it holds more than blanks; blanks at its ends are dropped.
void DocumentCollector::FinishParagraph() {
    if (!Ignoring() && !IsBlank(fParagraphText)) {
        const size_t first = fParagraphText.find_first_not_of(" \t");
        const size_t last = fParagraphText.find_last_not_of(" \t");
        fPageParagraphs.emplace_back(fTextBoxZ, fParagraphText.substr(first, last - first + 1));
    }
    fParagraphText.clear();
}

void DocumentCollector::FlushPageText() {
    FinishParagraph();
    std::stable_sort(fPageParagraphs.begin(), fPageParagraphs.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [z, text] : fPageParagraphs) fModel.paragraphs.push_back(std::move(text));
    fPageParagraphs.clear();
}

void DocumentCollector::openSpan(const RVNGPropertyList& propList) {
    fInSpan = true;
    fSpanNoted = false;
    fSpanProperties = propList;
    if (!fTextBox) return;
    if (fTextBox->paragraphs.empty()) fTextBox->paragraphs.emplace_back();
    TextSpan span;
    span.fontName = Text(propList["style:font-name"]);
    span.size = Points(propList["fo:font-size"], 12);
    if (span.size <= 0 || span.size > 2000) span.size = 12;
    const std::string weight = Text(propList["fo:font-weight"]);
    span.bold = weight == "bold" || std::atoi(weight.c_str()) >= 600;
    const std::string style = Text(propList["fo:font-style"]);
    span.italic = style == "italic" || style == "oblique";
    span.underline = Decorated(propList, "style:text-underline-type", "style:text-underline-style");
    span.strikeout = Decorated(propList, "style:text-line-through-type", "style:text-line-through-style");
    span.color = ColorOf(Text(propList["fo:color"]));
    span.smallCaps = Text(propList["fo:font-variant"]) == "small-caps";
    if (const std::string transform = Text(propList["fo:text-transform"]); transform != "none") span.transform = transform;
    // "33% 100%": raised by a third of the size, at full size; "super" and "sub" name the usual.
    const std::string position = Text(propList["style:text-position"]);
    double rise = 0, size = 100;
    if (position.rfind("super", 0) == 0) rise = 33, size = 58;
    else if (position.rfind("sub", 0) == 0) rise = -33, size = 58;
    else if (!position.empty()) std::sscanf(position.c_str(), "%lf%% %lf%%", &rise, &size);
    if (std::isfinite(rise) && std::isfinite(size)) {
        span.rise = std::clamp(rise / 100, -10.0, 10.0);
        span.relativeSize = std::clamp(size / 100, 0.01, 10.0);
    }
    fTextBox->paragraphs.back().spans.push_back(std::move(span));
}

void DocumentCollector::insertText(const librevenge::RVNGString& text) {
    if (text.cstr() != nullptr) AddText(text.cstr(), text.cstr());
}

// plain goes into the document's text; drawn is what the picture shows for it.
void DocumentCollector::AddText(const std::string& plain, const std::string& drawn) {
    if (Ignoring()) return;
    fParagraphText += plain;
    if (fInSpan && !fSpanNoted) {
        // A span's font and colour are in use once it carries a character.
        fSpanNoted = true;
        NoteFont(Text(fSpanProperties["style:font-name"]));
        NoteColor(Text(fSpanProperties["fo:color"]));
    }
    if (!fTextBox) return;
    if (fTextBox->paragraphs.empty()) fTextBox->paragraphs.emplace_back();
    auto& spans = fTextBox->paragraphs.back().spans;
    if (spans.empty()) spans.emplace_back();
    spans.back().text += drawn;
}

}  // namespace QUARK::QXPMETADATA
