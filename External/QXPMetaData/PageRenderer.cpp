#include "PageRenderer.h"

#include "FreeingDeleter.h"
#include "TextModule.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace QUARK::QXPMETADATA {

namespace {

constexpr double kLargestPageSide = 100000;  // points; beyond this a size is taken as damaged

using SurfacePtr = FreeingPtr<cairo_surface_t, cairo_surface_destroy>;
using ContextPtr = FreeingPtr<cairo_t, cairo_destroy>;

void SetColor(cairo_t* cr, const RGBColor& color) { cairo_set_source_rgb(cr, color.red, color.green, color.blue); }

void AddOutline(cairo_t* cr, const std::vector<PathCommand>& outline) {
    cairo_new_path(cr);
    double x = 0, y = 0;
    for (const PathCommand& command : outline) {
        switch (command.action) {
        case 'M': cairo_move_to(cr, command.x, command.y); break;
        case 'L': cairo_line_to(cr, command.x, command.y); break;
        case 'C': cairo_curve_to(cr, command.x1, command.y1, command.x2, command.y2, command.x, command.y); break;
        case 'Q':  // a quadratic curve as the cubic that traces it
            cairo_curve_to(cr, x + 2.0 / 3 * (command.x1 - x), y + 2.0 / 3 * (command.y1 - y),
                           command.x + 2.0 / 3 * (command.x1 - command.x), command.y + 2.0 / 3 * (command.y1 - command.y),
                           command.x, command.y);
            break;
        case 'Z': cairo_close_path(cr); break;
        default: break;
        }
        if (cairo_has_current_point(cr)) cairo_get_current_point(cr, &x, &y);
    }
}

void SetGradient(cairo_t* cr, const GraphicStyle& style) {
    double left, top, right, bottom;
    cairo_path_extents(cr, &left, &top, &right, &bottom);
    const double width = right - left, height = bottom - top;
    cairo_pattern_t* pattern = nullptr;
    if (style.fill == FillKind::LinearGradient) {
        // At angle 0 the start colour is at the top; the angle turns the axis counterclockwise.
        const double angle = style.gradientAngle * M_PI / 180;
        const double dx = std::sin(angle), dy = std::cos(angle);
        const double half = std::abs(width / 2 * dx) + std::abs(height / 2 * dy);
        const double cx = left + width / 2, cy = top + height / 2;
        pattern = cairo_pattern_create_linear(cx - dx * half, cy - dy * half, cx + dx * half, cy + dy * half);
        cairo_pattern_add_color_stop_rgb(pattern, 0, style.gradientStart.red, style.gradientStart.green, style.gradientStart.blue);
        cairo_pattern_add_color_stop_rgb(pattern, 1, style.gradientEnd.red, style.gradientEnd.green, style.gradientEnd.blue);
    } else {
        // Radial: the end colour at the centre, the start colour at the rim.
        const double cx = left + width * style.gradientCenterX, cy = top + height * style.gradientCenterY;
        const double radius = std::max(1e-3, std::hypot(std::max(cx - left, right - cx), std::max(cy - top, bottom - cy)));
        pattern = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
        cairo_pattern_add_color_stop_rgb(pattern, 0, style.gradientEnd.red, style.gradientEnd.green, style.gradientEnd.blue);
        cairo_pattern_add_color_stop_rgb(pattern, 1, style.gradientStart.red, style.gradientStart.green, style.gradientStart.blue);
    }
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
}

struct LineEnd {
    double x, y;    // where the line ends
    double dx, dy;  // unit direction pointing away from the line
};

// The ends of an open outline with the direction the line leaves them in.
std::optional<std::pair<LineEnd, LineEnd>> LineEnds(const std::vector<PathCommand>& outline) {
    if (outline.size() < 2 || outline.front().action != 'M' || outline.back().action == 'Z') return std::nullopt;
    auto unit = [](double x, double y, double fromX, double fromY) -> std::optional<LineEnd> {
        const double length = std::hypot(x - fromX, y - fromY);
        if (!(length > 1e-9)) return std::nullopt;
        return LineEnd{x, y, (x - fromX) / length, (y - fromY) / length};
    };
    const PathCommand& first = outline[0];
    const PathCommand& second = outline[1];
    auto start = unit(first.x, first.y, second.x, second.y);
    if (second.action == 'C' || second.action == 'Q')
        if (auto tangent = unit(first.x, first.y, second.x1, second.y1)) start = tangent;
    const PathCommand& last = outline.back();
    const PathCommand& before = outline[outline.size() - 2];
    auto end = unit(last.x, last.y, before.x, before.y);
    if (last.action == 'C')
        if (auto tangent = unit(last.x, last.y, last.x2, last.y2)) end = tangent;
    if (last.action == 'Q')
        if (auto tangent = unit(last.x, last.y, last.x1, last.y1)) end = tangent;
    if (!start || !end) return std::nullopt;
    return std::pair{*start, *end};
}

double MarkerLength(const LineMarker& marker) { return marker.boxHeight * marker.width / marker.boxWidth; }

// Straight ends that carry a mark are pulled back under it, so a wide line does not show past the tip.
std::vector<PathCommand> ShortenedUnderMarkers(std::vector<PathCommand> outline, const GraphicStyle& style) {
    if (outline.size() < 2) return outline;
    auto pullBack = [](PathCommand& end, const PathCommand& other, double by) {
        const double length = std::hypot(end.x - other.x, end.y - other.y);
        if (!(length > 1e-9)) return;
        const double amount = std::min(by, length / 2) / length;
        end.x -= (end.x - other.x) * amount, end.y -= (end.y - other.y) * amount;
    };
    if (style.startMarker && outline[1].action == 'L') pullBack(outline[0], outline[1], MarkerLength(*style.startMarker) / 2);
    if (style.endMarker && outline.back().action == 'L')
        pullBack(outline.back(), outline[outline.size() - 2], MarkerLength(*style.endMarker) / 2);
    return outline;
}

void DrawMarker(cairo_t* cr, const LineMarker& marker, const LineEnd& end) {
    cairo_save(cr);
    cairo_translate(cr, end.x, end.y);
    // The mark is drawn pointing up in its box; turn "up" into the line's outward direction.
    cairo_rotate(cr, std::atan2(end.dy, end.dx) + M_PI / 2);
    const double scale = marker.width / marker.boxWidth;
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -(marker.boxX + marker.boxWidth / 2), -marker.boxY);
    AddOutline(cr, marker.outline);
    cairo_fill(cr);
    cairo_restore(cr);
}

void DrawShape(cairo_t* cr, const Shape& shape, double pixelInPoints) {
    const GraphicStyle& style = shape.style;
    const bool marked = style.stroke != StrokeKind::None && (style.startMarker || style.endMarker);
    AddOutline(cr, marked ? ShortenedUnderMarkers(shape.outline, style) : shape.outline);
    if (style.fill != FillKind::None) {
        if (style.fill == FillKind::Solid) SetColor(cr, style.fillColor);
        else SetGradient(cr, style);
        cairo_fill_preserve(cr);
    }
    if (style.stroke != StrokeKind::None) {
        SetColor(cr, style.strokeColor);
        cairo_set_line_width(cr, std::max(style.strokeWidth, pixelInPoints));
        cairo_set_line_cap(cr, style.lineCap == "round"    ? CAIRO_LINE_CAP_ROUND
                               : style.lineCap == "square" ? CAIRO_LINE_CAP_SQUARE
                                                           : CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, style.lineJoin == "round"   ? CAIRO_LINE_JOIN_ROUND
                                : style.lineJoin == "bevel" ? CAIRO_LINE_JOIN_BEVEL
                                                            : CAIRO_LINE_JOIN_MITER);
        const bool anyOn = std::any_of(style.dashes.begin(), style.dashes.end(), [](double d) { return d > 0; });
        if (style.stroke == StrokeKind::Dash && anyOn)
            cairo_set_dash(cr, style.dashes.data(), static_cast<int>(style.dashes.size()), 0);
        cairo_stroke_preserve(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    cairo_new_path(cr);
    if (marked) {
        if (const auto ends = LineEnds(shape.outline)) {
            if (style.startMarker) DrawMarker(cr, *style.startMarker, ends->first);
            if (style.endMarker) DrawMarker(cr, *style.endMarker, ends->second);
        }
    }
}

void DestroySurface(void* surface, const void*, size_t) { cairo_surface_destroy(static_cast<cairo_surface_t*>(surface)); }

// The image reads the drawn pixels where cairo left them and keeps the surface until it goes.
CGImageRef ImageOwningSurface(SurfacePtr surface) {
    const int width = cairo_image_surface_get_width(surface.get());
    const int height = cairo_image_surface_get_height(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    const unsigned char* pixels = cairo_image_surface_get_data(surface.get());
    CGDataProviderRef provider = CGDataProviderCreateWithData(surface.get(), pixels, static_cast<size_t>(stride) * height,
                                                              DestroySurface);
    if (provider == nullptr) return nullptr;
    surface.release();  // now the provider's
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGImageRef image = CGImageCreate(static_cast<size_t>(width), static_cast<size_t>(height), 8, 32,
                                     static_cast<size_t>(stride), space,
                                     kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little, provider, nullptr,
                                     false, kCGRenderingIntentDefault);
    CGColorSpaceRelease(space);
    CGDataProviderRelease(provider);
    return image;
}

}  // namespace

CGImageRef RenderPage(const PageSize& page, const std::vector<PageItem>& items, int longerSide) {
    const double pageWidth = page.width, pageHeight = page.height;
    if (!(pageWidth > 0 && pageHeight > 0 && pageWidth < kLargestPageSide && pageHeight < kLargestPageSide) ||
        longerSide <= 0)
        return nullptr;
    const double scale = longerSide / std::max(pageWidth, pageHeight);
    const int width = pageWidth >= pageHeight ? longerSide : std::max(1, static_cast<int>(std::lround(pageWidth * scale)));
    const int height = pageHeight >= pageWidth ? longerSide : std::max(1, static_cast<int>(std::lround(pageHeight * scale)));

    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    ContextPtr cr(cairo_create(surface.get()));
    cairo_set_source_rgb(cr.get(), 1, 1, 1);
    cairo_paint(cr.get());
    cairo_scale(cr.get(), static_cast<double>(width) / pageWidth, static_cast<double>(height) / pageHeight);

    // Objects further up the stacking order are drawn later; equal ones keep the document's order.
    std::vector<const PageItem*> ordered;
    for (const PageItem& item : items) ordered.push_back(&item);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const PageItem* a, const PageItem* b) { return a->zIndex < b->zIndex; });
    const double pixelInPoints = 1 / scale;
    for (const PageItem* item : ordered) {
        if (item->shape) DrawShape(cr.get(), *item->shape, pixelInPoints);
        if (item->textBox) DrawTextBoxWithModule(cr.get(), *item->textBox);
    }
    cr.reset();
    cairo_surface_flush(surface.get());
    return ImageOwningSurface(std::move(surface));
}

}  // namespace QUARK::QXPMETADATA

// The module's one entry point, looked up by name when the module is loaded.
extern "C" __attribute__((visibility("default"))) CGImageRef QXPMetaDataRenderPage(
    const QUARK::QXPMETADATA::PageSize* page, const std::vector<QUARK::QXPMETADATA::PageItem>* items, int longerSide) {
    try {
        if (page == nullptr || items == nullptr) return nullptr;
        return QUARK::QXPMETADATA::RenderPage(*page, *items, longerSide);
    } catch (...) {
        return nullptr;
    }
}
