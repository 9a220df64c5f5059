// What the reader library's own dump tool (qxp2raw) shows of a document, gathered by the same
// rules the library uses for "in use": fills, gradients and strokes of drawn objects, and the
// font and colour of every span that carries a character.
#pragma once

#include <string>
#include <vector>

namespace qxptest {

// A text object the dump shows turned: its frame before turning, and the angle as the dump
// states it (degrees, about the frame's centre, clockwise on the page for a positive angle, as
// in SVG's rotate()).
struct TurnedTextFrame {
    double x = 0, y = 0, width = 0, height = 0;
    double angle = 0;
};

struct RawDump {
    int exitStatus = -1;
    std::vector<std::pair<double, double>> pageSizes;  // width, height in points
    std::vector<std::string> fonts;
    std::vector<std::string> colors;
    std::vector<TurnedTextFrame> firstPageTurnedText;
};

// Runs qxp2raw on path as a child process and reads its output.
RawDump RunQxp2Raw(const std::string& qxp2raw, const std::string& path);

}  // namespace qxptest
