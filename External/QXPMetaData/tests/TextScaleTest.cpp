// Text keeps its proportions at every size a page is drawn at: one styled line drawn through the
// text module's entry point, as the picture module calls it, at the scales of 512-, 1024- and
// 2048-pixel pictures of a 652-point page, inks the same share of the page at each.
#include "TextModule.h"

#include <cairo.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace QUARK::QXPMETADATA;

namespace {

constexpr double kScales[] = {512 / 652.0, 1024 / 652.0, 2048 / 652.0};
constexpr double kBoxWidth = 300, kBoxHeight = 60;  // points

DrawTextBoxFunction TextModule() {
    void* module = dlopen(TEXT_MODULE, RTLD_NOW | RTLD_LOCAL);
    return module == nullptr ? nullptr : reinterpret_cast<DrawTextBoxFunction>(dlsym(module, kDrawTextBoxSymbol));
}

// How much of the box the span inks: the sum of its pixels' darkness over the pixel count.
double InkedShare(DrawTextBoxFunction draw, const TextSpan& span, double scale) {
    const int width = static_cast<int>(kBoxWidth * scale), height = static_cast<int>(kBoxHeight * scale);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_scale(cr, scale, scale);
    TextBox box;
    box.width = kBoxWidth;
    box.height = kBoxHeight;
    box.paddingLeft = box.paddingTop = 10;
    box.paragraphs.push_back({.spans = {span}});
    draw(cr, &box);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    double darkness = 0;
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) darkness += 255 - data[y * cairo_image_surface_get_stride(surface) + x * 4 + 1];
    cairo_surface_destroy(surface);
    return darkness / 255 / (static_cast<double>(width) * height);
}

// What a style adds: the ink of the styled span less that of the same span without the style.
double StyleInk(DrawTextBoxFunction draw, const TextSpan& styled, bool TextSpan::*style, double scale) {
    if (style == nullptr) return InkedShare(draw, styled, scale);
    TextSpan plain = styled;
    plain.*style = false;
    return InkedShare(draw, styled, scale) - InkedShare(draw, plain, scale);
}

TEST(TextScale, StylesInkTheSameShareAtEverySize) {
    const DrawTextBoxFunction draw = TextModule();
    ASSERT_NE(draw, nullptr) << dlerror();
    const TextSpan words{.text = "Lines of words", .fontName = "Helvetica", .size = 24};
    TextSpan smallCaps = words;
    smallCaps.smallCaps = true;
    TextSpan boldItalic = words;
    boldItalic.size = 36, boldItalic.bold = true, boldItalic.italic = true;
    const struct {
        const char* name;
        TextSpan span;
        bool TextSpan::*measured;  // only what this style adds; null: the whole span
    } rows[] = {
        {"plain", words, nullptr},
        {"small capitals", smallCaps, nullptr},
        {"strike-through", words, &TextSpan::strikeout},
        {"strike-through, bold italic", boldItalic, &TextSpan::strikeout},
        {"underline", words, &TextSpan::underline},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TextSpan styled = row.span;
        if (row.measured != nullptr) styled.*row.measured = true;
        const double atSmallest = StyleInk(draw, styled, row.measured, kScales[0]);
        EXPECT_GT(std::abs(atSmallest), 0.002);
        for (double scale : kScales)
            EXPECT_NEAR(StyleInk(draw, styled, row.measured, scale), atSmallest, std::abs(atSmallest) * 0.2) << scale;
    }
}

}  // namespace
