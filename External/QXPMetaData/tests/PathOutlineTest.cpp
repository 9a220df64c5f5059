// The outlines that shapes and end marks are drawn along, read from the reader library's path
// notations. Outlines are compared as text ("M9,0 L0,25 Z"), so that a table states each case.
#include "PathOutlines.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace QUARK::QXPMETADATA;

namespace {

std::string Describe(const std::vector<PathCommand>& outline) {
    std::ostringstream text;
    for (const PathCommand& command : outline) {
        if (text.tellp() > 0) text << ' ';
        text << command.action;
        if (command.action == 'C')
            text << command.x1 << ',' << command.y1 << ' ' << command.x2 << ',' << command.y2 << ' ';
        if (command.action == 'Q') text << command.x1 << ',' << command.y1 << ' ';
        if (command.action != 'Z') text << command.x << ',' << command.y;
    }
    return text.str();
}

// One path step per ";": its action, then key=value pairs for svg:<key>, in points unless a
// value ends in "in".
librevenge::RVNGPropertyListVector PathOf(const std::string& steps) {
    librevenge::RVNGPropertyListVector path;
    std::istringstream stepTexts(steps);
    for (std::string stepText; std::getline(stepTexts, stepText, ';');) {
        std::istringstream words(stepText);
        std::string action;
        words >> action;
        librevenge::RVNGPropertyList step;
        if (action != "-") step.insert("librevenge:path-action", action.c_str());
        for (std::string pair; words >> pair;) {
            const std::string key = "svg:" + pair.substr(0, pair.find('='));
            const std::string value = pair.substr(pair.find('=') + 1);
            const bool inches = value.size() > 2 && value.substr(value.size() - 2) == "in";
            step.insert(key.c_str(), std::stod(value), inches ? librevenge::RVNG_INCH : librevenge::RVNG_POINT);
        }
        path.append(step);
    }
    return path;
}

}  // namespace

TEST(PathOutline, ReducesEveryActionToMovesLinesAndCurves) {
    const struct {
        const char* steps;
        const char* outline;
    } cases[] = {
        {"M x=10 y=20; L x=30 y=20; Z", "M10,20 L30,20 Z"},
        {"M x=1in y=0.5in", "M72,36"},
        // Horizontal and vertical lines keep the other coordinate; arcs become straight lines.
        {"M x=10 y=20; H x=50; V y=60; A x=5 y=5", "M10,20 L50,20 L50,60 L5,5"},
        // A smooth curve mirrors the previous curve's second control point about its start, and
        // carries its own one control point in x1/y1.
        {"M x=0 y=0; C x1=0 y1=10 x2=10 y2=10 x=20 y=20; S x1=30 y1=40 x=40 y=40",
         "M0,0 C0,10 10,10 20,20 C30,30 30,40 40,40"},
        // Without a curve before it, a smooth curve starts at its own start point.
        {"M x=5 y=5; S x1=8 y1=9 x=10 y=10", "M5,5 C5,5 8,9 10,10"},
        {"M x=0 y=0; Q x1=10 y1=0 x=10 y=10; T x=10 y=20", "M0,0 Q10,0 10,10 Q10,20 10,20"},
        // Steps without an action, or with one the notation does not have, are left out; a step
        // without coordinates stays where the pen is.
        {"M x=1 y=2; - x=9 y=9; X x=9 y=9; L", "M1,2 L1,2"},
        {"", ""},
    };
    for (const auto& example : cases)
        EXPECT_EQ(Describe(PathOutline(PathOf(example.steps))), example.outline) << example.steps;
}

TEST(MarkerOutline, ReadsAbsoluteAndRelativeStepsAndStopsAtWhatItCannotRead) {
    const struct {
        const char* path;
        const char* outline;
    } cases[] = {
        {"m9 0 l-9 25 l6 -1.5 z", "M9,0 L0,25 L6,23.5 Z"},
        {"M0,0 L10,0 L10,10 Z", "M0,0 L10,0 L10,10 Z"},
        // Further pairs after a move are lines, relative after a relative move.
        {"M0 0 10 10", "M0,0 L10,10"},
        {"m1 1 2 2", "M1,1 L3,3"},
        {"M1 2 H5 V7 h1 v1", "M1,2 L5,2 L5,7 L6,7 L6,8"},
        {"m10 10 c0 5 5 10 10 10", "M10,10 C10,15 15,20 20,20"},
        // A close returns the pen to the start of the figure.
        {"m5 5 l1 0 z l1 1", "M5,5 L6,5 Z L6,6"},
        // What cannot be read ends the outline with what was read before it.
        {"M0 0 L5", "M0,0"},
        {"M0 0 L nan 1", "M0,0"},
        {"M0 0 Q1 1 2 2", "M0,0"},
        {"x", ""},
        {"", ""},
    };
    for (const auto& example : cases)
        EXPECT_EQ(Describe(MarkerOutline(example.path)), example.outline) << example.path;
}

TEST(MarkerOutline, KeepsAtMostAThousandStepsOfAnEndlessPath) {
    std::string path = "M0 0";
    for (int i = 0; i < 5000; ++i)
        path += " 1 1";
    EXPECT_EQ(MarkerOutline(path).size(), 1000u);
}
