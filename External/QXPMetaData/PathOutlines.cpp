#include "PathOutlines.h"

#include "PropertyValues.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace QUARK::QXPMETADATA {

using librevenge::RVNGProperty;
using librevenge::RVNGPropertyList;
using librevenge::RVNGPropertyListVector;

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

}  // namespace QUARK::QXPMETADATA
