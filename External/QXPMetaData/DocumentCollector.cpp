#include "DocumentCollector.h"

#include "GraphicStyles.h"
#include "PathOutlines.h"
#include "PropertyValues.h"

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

bool IsBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

bool Decorated(const RVNGPropertyList& span, const char* type, const char* style) {
    const std::string typeText = Text(span[type]);
    const std::string styleText = Text(span[style]);
    if (!typeText.empty()) return typeText != "none";
    return !styleText.empty() && styleText != "none";
}

}  // namespace

DocumentCollector::DocumentCollector(DocumentModel& model, bool keepFirstPageDrawing)
    : fModel(model), fKeepFirstPageDrawing(keepFirstPageDrawing) {}

void DocumentCollector::startPage(const RVNGPropertyList& propList) {
    FlushPageText();
    fModel.pages.push_back({Points(propList["svg:width"]), Points(propList["svg:height"])});
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

void DocumentCollector::NoteShapeColors(const RVNGPropertyList& call) {
    for (const std::string& color : ColorsDrawnWith({call, fStyle})) NoteColor(color);
}

void DocumentCollector::AddShape(const RVNGPropertyList& call, std::vector<PathCommand> outline) {
    if (Ignoring()) return;
    NoteShapeColors(call);
    if (!KeepingDrawing() || outline.empty()) return;
    PageItem item;
    item.zIndex = Number(call["draw:z-index"]);
    item.shape = Shape{std::move(outline), StyleOf({call, fStyle})};
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
