#include "SkinnedThumbnail.h"

#include <algorithm>
#include <cmath>

namespace {

void SetColor(cairo_t* cr, const SkinColor& color) { cairo_set_source_rgb(cr, color.red / 255.0, color.green / 255.0, color.blue / 255.0); }

// Margin around the page when it lies on a background: a sixteenth of the picture, none at sizes
// too small to show one.
int MarginFor(int size) { return size >= 32 ? static_cast<int>(std::lround(size / 16.0)) : 0; }

// The skin's border and folded corner over the page at (x, y); the corner's cut shows what lies
// behind the page (the background, or nothing). The fold lies under the border, so that it stays
// inside the frame: the border's lines run up to the cut.
void DrawPageFrame(cairo_t* cr, double x, double y, double width, double height, const SkinPalette& skin,
                   const std::optional<SkinColor>& background)
{
    const SkinPageFrame frame = SkinPageFrameFor(std::max(width, height));
    const double corner = std::min({frame.cornerSize, width / 2, height / 2});
    const double right = x + width;
    cairo_move_to(cr, right - corner, y);
    cairo_line_to(cr, right, y + corner);
    cairo_line_to(cr, right - corner, y + corner);
    cairo_close_path(cr);
    SetColor(cr, skin.accent);
    cairo_fill(cr);

    const double half = frame.borderWidth / 2;
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_rectangle(cr, x + half, y + half, width - frame.borderWidth, height - frame.borderWidth);
    cairo_set_line_width(cr, frame.borderWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    SetColor(cr, skin.frame);
    cairo_stroke(cr);

    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    cairo_move_to(cr, right - corner, y);
    cairo_line_to(cr, right, y);
    cairo_line_to(cr, right, y + corner);
    cairo_close_path(cr);
    if (background) {
        SetColor(cr, *background);
        cairo_fill(cr);
    } else {
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_fill(cr);
        cairo_restore(cr);
    }
}

}  // namespace

CairoSurface DrawSkinnedThumbnail(const PageDrawer& drawPage, int size, const SkinPalette& skin,
                                  const std::optional<SkinColor>& background)
{
    const int margin = background ? MarginFor(size) : 0;
    CairoSurface page = drawPage(size - 2 * margin);
    if (!page)
        return nullptr;
    const int pageWidth = cairo_image_surface_get_width(page.get());
    const int pageHeight = cairo_image_surface_get_height(page.get());

    CairoSurface thumbnail(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pageWidth + 2 * margin, pageHeight + 2 * margin));
    if (cairo_surface_status(thumbnail.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    CairoContext cr(cairo_create(thumbnail.get()));
    if (background) {
        SetColor(cr.get(), *background);
        cairo_paint(cr.get());
    }
    // The page was drawn at its final size: placed on whole pixels, it stays sharp.
    cairo_set_source_surface(cr.get(), page.get(), margin, margin);
    cairo_paint(cr.get());
    DrawPageFrame(cr.get(), margin, margin, pageWidth, pageHeight, skin, background);
    cairo_surface_flush(thumbnail.get());
    return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS ? std::move(thumbnail) : nullptr;
}
