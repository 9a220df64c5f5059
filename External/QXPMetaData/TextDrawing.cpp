#include "TextDrawing.h"

#include "FontConfigurationFile.h"
#include "FontMatcher.h"
#include "FreeingDeleter.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

namespace QUARK::QXPMETADATA {

namespace {

constexpr double kLongestLength = 100000;  // points; beyond this a length is taken as damaged

using FontDescriptionPtr = FreeingPtr<PangoFontDescription, pango_font_description_free>;

template <class T>
void GObjectUnref(T* object) { g_object_unref(object); }
using LayoutPtr = FreeingPtr<PangoLayout, GObjectUnref<PangoLayout>>;
using ContextPtr = FreeingPtr<PangoContext, GObjectUnref<PangoContext>>;

// Pango measures in integer units of 1/1024 point; damaged documents may hold lengths that do
// not fit, so they are bounded first.
int PangoUnits(double points) { return static_cast<int>(std::clamp(points, -kLongestLength, kLongestLength) * PANGO_SCALE); }

PangoAlignment AlignmentOf(const std::string& align) {
    if (align == "center") return PANGO_ALIGN_CENTER;
    if (align == "right" || align == "end") return PANGO_ALIGN_RIGHT;
    return PANGO_ALIGN_LEFT;
}

FontDescriptionPtr FontOf(const TextSpan& span) {
    const FontChoice choice = MatchFont(span.fontName);
    FontDescriptionPtr font(pango_font_description_new());
    pango_font_description_set_family(font.get(), choice.family.c_str());
    pango_font_description_set_absolute_size(font.get(), PangoUnits(span.size * span.relativeSize));
    if (span.smallCaps) pango_font_description_set_variant(font.get(), PANGO_VARIANT_SMALL_CAPS);
    pango_font_description_set_weight(font.get(), span.bold || choice.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font.get(), span.italic || choice.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return font;
}

guint16 Channel(double value) { return static_cast<guint16>(std::clamp(value, 0.0, 1.0) * 65535); }

// Text is laid out in the page's points, whatever size the page is drawn at, so that a page looks
// the same at every size, only sharper. Laid out for the picture's pixels, advances were rounded
// to pixels (line breaks moved from one size to the next), the lines through and under text were
// a pixel or two thick at every size, and small capitals grew with the picture (pango takes a
// font's pixel size for its point size when it makes them). cairo still draws the glyphs at the
// picture's resolution.
ContextPtr PageLayoutContext() {
    ContextPtr context(pango_font_map_create_context(pango_cairo_font_map_get_default()));
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context.get(), options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context.get(), false);
    return context;
}

// One paragraph laid out to the given width (points), with every span's font, size and colour.
LayoutPtr LayoutParagraph(PangoContext* context, const TextParagraph& paragraph, double width) {
    LayoutPtr layout(pango_layout_new(context));
    std::string text;
    PangoAttrList* attributes = pango_attr_list_new();
    for (const TextSpan& span : paragraph.spans) {
        const auto start = static_cast<guint>(text.size());
        text += span.text;
        const auto end = static_cast<guint>(text.size());
        if (start == end) continue;
        auto add = [&](PangoAttribute* attribute) {
            attribute->start_index = start;
            attribute->end_index = end;
            pango_attr_list_insert(attributes, attribute);
        };
        FontDescriptionPtr font = FontOf(span);
        add(pango_attr_font_desc_new(font.get()));
        add(pango_attr_foreground_new(Channel(span.color.red), Channel(span.color.green), Channel(span.color.blue)));
        if (span.underline) add(pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (span.strikeout) add(pango_attr_strikethrough_new(true));
        if (span.rise != 0) add(pango_attr_rise_new(PangoUnits(span.rise * span.size)));
        if (span.transform == "uppercase") add(pango_attr_text_transform_new(PANGO_TEXT_TRANSFORM_UPPERCASE));
        if (span.transform == "lowercase") add(pango_attr_text_transform_new(PANGO_TEXT_TRANSFORM_LOWERCASE));
        if (span.transform == "capitalize") add(pango_attr_text_transform_new(PANGO_TEXT_TRANSFORM_CAPITALIZE));
    }
    if (paragraph.lineHeight > 0) {
        PangoAttribute* lineHeight = pango_attr_line_height_new_absolute(PangoUnits(paragraph.lineHeight));
        pango_attr_list_insert(attributes, lineHeight);
    } else if (paragraph.lineHeightFactor > 0) {
        pango_attr_list_insert(attributes, pango_attr_line_height_new(std::min(paragraph.lineHeightFactor, 100.0)));
    }
    // An empty paragraph still takes a line in the font it was set in.
    if (!paragraph.spans.empty()) pango_layout_set_font_description(layout.get(), FontOf(paragraph.spans.front()).get());
    pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
    pango_layout_set_attributes(layout.get(), attributes);
    pango_attr_list_unref(attributes);
    pango_layout_set_width(layout.get(), PangoUnits(std::max(1.0, width)));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout.get(), AlignmentOf(paragraph.align));
    pango_layout_set_justify(layout.get(), paragraph.align == "justify");
    pango_layout_set_indent(layout.get(), PangoUnits(paragraph.indent));
    return layout;
}

// fontconfig loads its whole configuration and every font cache when first used. Pango's font
// map starts that on a thread of its own while the font matcher would start it again on this
// one; loading it here first, once, leaves both to find it ready. It is loaded as FcInit loads
// it, less the parsing of every configuration template for its description, which nothing here
// reads, and from the product's own configuration where that is installed.
void LoadFontConfigurationOnce() {
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        const std::string file = ProductFontConfigurationFile();
        const auto* name = file.empty() ? nullptr : reinterpret_cast<const FcChar8*>(file.c_str());
        FcConfig* config = FcConfigCreate();
        const bool made = config != nullptr && FcConfigParseAndLoad(config, name, FcTrue) &&
                          FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
        if (config != nullptr) FcConfigDestroy(config);  // the current configuration holds its own reference
        if (!made) FcInit();
    });
}

}  // namespace

void DrawTextBox(cairo_t* cr, const TextBox& box) {
    if (box.width <= 0 || box.height <= 0) return;
    LoadFontConfigurationOnce();
    cairo_save(cr);
    if (box.rotation != 0) {
        const double cx = box.x + box.width / 2, cy = box.y + box.height / 2;
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, -box.rotation * M_PI / 180);
        cairo_translate(cr, -cx, -cy);
    }
    // Text that does not fit stays hidden, as in the layout program.
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_clip(cr);
    const double innerWidth = box.width - box.paddingLeft - box.paddingRight;
    struct Placed {
        LayoutPtr layout;
        double x, y;
    };
    std::vector<Placed> placed;
    const ContextPtr context = PageLayoutContext();
    double y = box.y + box.paddingTop;
    for (const TextParagraph& paragraph : box.paragraphs) {
        y += paragraph.marginTop;
        LayoutPtr layout = LayoutParagraph(context.get(), paragraph, innerWidth - paragraph.marginLeft - paragraph.marginRight);
        int width = 0, height = 0;
        pango_layout_get_size(layout.get(), &width, &height);
        placed.push_back({std::move(layout), box.x + box.paddingLeft + paragraph.marginLeft, y});
        y += static_cast<double>(height) / PANGO_SCALE + paragraph.marginBottom;
        if (y > box.y + box.height + 1000) break;  // the rest is out of sight
    }
    const double used = y - (box.y + box.paddingTop);
    const double room = box.height - box.paddingTop - box.paddingBottom;
    double shift = 0;
    if (box.verticalAlign == "middle" || box.verticalAlign == "center") shift = std::max(0.0, (room - used) / 2);
    else if (box.verticalAlign == "bottom") shift = std::max(0.0, room - used);
    for (const Placed& item : placed) {
        cairo_move_to(cr, item.x, item.y + shift);
        pango_cairo_show_layout(cr, item.layout.get());
    }
    cairo_restore(cr);
}

}  // namespace QUARK::QXPMETADATA

// The module's one entry point, looked up by name when the first text box is drawn.
extern "C" __attribute__((visibility("default"))) void QXPMetaDataDrawTextBox(cairo_t* cr,
                                                                               const QUARK::QXPMETADATA::TextBox* box) {
    try {
        if (cr != nullptr && box != nullptr) QUARK::QXPMETADATA::DrawTextBox(cr, *box);
    } catch (...) {
    }
}
