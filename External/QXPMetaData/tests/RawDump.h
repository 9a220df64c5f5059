// What the reader library's own dump tool (qxp2raw) shows of a document, gathered by the same
// rules the library uses for "in use": fills, gradients and strokes of drawn objects, and the
// font and colour of every span that carries a character.
#pragma once

#include <string>
#include <vector>

namespace qxptest {

struct RawDump {
    int exitStatus = -1;
    std::vector<std::pair<double, double>> pageSizes;  // width, height in points
    std::vector<std::string> fonts;
    std::vector<std::string> colors;
};

// Runs qxp2raw on path as a child process and reads its output.
RawDump RunQxp2Raw(const std::string& qxp2raw, const std::string& path);

}  // namespace qxptest
