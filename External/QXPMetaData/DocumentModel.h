// What one pass over a document leaves behind: the pages, the text, the fonts and colours in use,
// and, for the first page when a picture is wanted, everything needed to draw it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace QUARK::QXPMETADATA {

struct RGBColor {
    double red = 0, green = 0, blue = 0;  // 0 to 1
};

struct PathCommand {
    char action = 'M';  // M L C Q Z (others are turned into these)
    double x = 0, y = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// An arrowhead or other end mark: an outline in its own box, scaled so the box is width wide,
// tip at the top centre of the box on the line's end, pointing away from the line.
struct LineMarker {
    std::vector<PathCommand> outline;
    double boxX = 0, boxY = 0, boxWidth = 0, boxHeight = 0;
    double width = 0;  // points
};

enum class FillKind { None, Solid, LinearGradient, RadialGradient };
enum class StrokeKind { None, Solid, Dash };

struct GraphicStyle {
    FillKind fill = FillKind::None;
    RGBColor fillColor;
    RGBColor gradientStart, gradientEnd;
    double gradientAngle = 0;                      // degrees, counterclockwise
    double gradientCenterX = 0.5, gradientCenterY = 0.5;  // fractions of the bounding box
    StrokeKind stroke = StrokeKind::None;
    RGBColor strokeColor;
    double strokeWidth = 0;  // points; 0 draws a hairline
    std::vector<double> dashes;  // lengths in points, on and off alternately
    std::string lineCap = "butt", lineJoin = "miter";
    std::optional<LineMarker> startMarker, endMarker;
};

// Boxes, lines, ovals and paths all become one outline.
struct Shape {
    std::vector<PathCommand> outline;
    GraphicStyle style;
};

struct TextSpan {
    std::string text;
    std::string fontName;
    double size = 12;
    bool bold = false, italic = false, underline = false, strikeout = false, smallCaps = false;
    std::string transform;     // "uppercase", "lowercase", "capitalize" or empty
    double rise = 0;           // superscript (+) or subscript (-), as a fraction of the size
    double relativeSize = 1;   // of superscripts and subscripts
    RGBColor color;
};

struct TextParagraph {
    std::vector<TextSpan> spans;
    std::string align = "left";
    double lineHeight = 0;         // points; 0 means the font's own
    double lineHeightFactor = 0;   // a proportion instead, when given so
    double marginLeft = 0, marginRight = 0, marginTop = 0, marginBottom = 0, indent = 0;
};

struct TextBox {
    double x = 0, y = 0, width = 0, height = 0;
    double paddingLeft = 0, paddingRight = 0, paddingTop = 0, paddingBottom = 0;
    double rotation = 0;  // degrees, counterclockwise about the centre
    std::string verticalAlign = "top";
    std::vector<TextParagraph> paragraphs;
};

struct PageItem {
    double zIndex = 0;
    std::optional<Shape> shape;
    std::optional<TextBox> textBox;
};

struct PageSize {
    double width = 0, height = 0;  // points
};

struct DocumentModel {
    std::vector<PageSize> pages;
    std::vector<std::string> paragraphs;  // non-empty ones, in page order
    std::vector<std::string> colors;      // "#rrggbb", first use first
    std::vector<std::string> fonts;       // first use first
    std::vector<PageItem> firstPageItems;  // in drawing order as delivered; only when asked for
};

}  // namespace QUARK::QXPMETADATA
