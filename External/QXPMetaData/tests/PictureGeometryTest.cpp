// Where the picture puts things: text in a turned frame (a rotated text box, text along a slanted
// line) is turned with its frame, so its ink inside the frame's turned outline runs along it.
#include "CorpusTest.h"
#include "ExtractionHelpers.h"
#include "RawDump.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qxptest {
namespace {

using CorpusPicture = CorpusTest;

constexpr double kTolerance = 1.0;  // points beyond the outline that smoothing may reach

// A pixel dark enough to be text: the frames' fills and lines in the samples are light or coloured.
bool IsInk(const UInt8* rgba) { return rgba[0] < 110 && rgba[1] < 110 && rgba[2] < 110; }

// Whether a point (in points) lies inside the frame turned about its centre by its angle, as
// SVG's rotate(angle) turns it on the page.
bool InsideTurned(const TurnedTextFrame& frame, double x, double y) {
    const double radians = frame.angle * M_PI / 180, c = std::cos(radians), s = std::sin(radians);
    const double dx = x - (frame.x + frame.width / 2), dy = y - (frame.y + frame.height / 2);
    const double along = dx * c + dy * s, across = -dx * s + dy * c;  // turned back upright
    return std::abs(along) <= frame.width / 2 + kTolerance && std::abs(across) <= frame.height / 2 + kTolerance;
}

// The ink inside the turned frame: how much, and the direction it runs in (degrees on the page,
// clockwise from the x axis as the frame's angle is), from the principal axis of its pixels.
struct Ink {
    size_t pixels = 0;
    double direction = 0;
};

Ink InkInside(const std::vector<UInt8>& rgba, size_t width, size_t height, double scale, const TurnedTextFrame& frame) {
    std::vector<std::pair<double, double>> points;
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) {
            const double px = (x + 0.5) / scale, py = (y + 0.5) / scale;
            if (IsInk(&rgba[(y * width + x) * 4]) && InsideTurned(frame, px, py)) points.emplace_back(px, py);
        }
    if (points.empty()) return {};
    double meanX = 0, meanY = 0;
    for (const auto& [x, y] : points) meanX += x, meanY += y;
    meanX /= points.size(), meanY /= points.size();
    double xx = 0, yy = 0, xy = 0;
    for (const auto& [x, y] : points) xx += (x - meanX) * (x - meanX), yy += (y - meanY) * (y - meanY), xy += (x - meanX) * (y - meanY);
    return {points.size(), 0.5 * std::atan2(2 * xy, xx - yy) * 180 / M_PI};
}

// Difference of two directions of lines, 0 to 90 degrees.
double AngleBetween(double a, double b) {
    const double difference = std::fmod(std::abs(a - b), 180.0);
    return std::min(difference, 180 - difference);
}

TEST_F(CorpusPicture, TurnedTextLiesInsideItsTurnedFrame) {
    size_t framesSeen = 0;
    for (const std::string& path : SupportedCorpusFiles()) {
        const RawDump dump = RunQxp2Raw(QXP2RAW, path);
        if (dump.firstPageTurnedText.empty()) continue;
        SCOPED_TRACE(path);
        Extraction extraction = Extract(path, kQXPEntryThumbnail);
        ASSERT_EQ(extraction.status, 0);
        CGImageRef image = extraction.Image(kQXPEntryThumbnail);
        ASSERT_NE(image, nullptr);
        const std::vector<UInt8> rgba = PageRGBA(image);
        const double scale = CGImageGetWidth(image) / dump.pageSizes.front().first;
        for (const TurnedTextFrame& frame : dump.firstPageTurnedText) {
            SCOPED_TRACE("frame at " + std::to_string(frame.x) + ", " + std::to_string(frame.y));
            // The samples hold one line of text in each turned frame: it runs along the frame.
            const Ink ink = InkInside(rgba, CGImageGetWidth(image), CGImageGetHeight(image), scale, frame);
            EXPECT_GT(ink.pixels, 20u);
            EXPECT_LT(AngleBetween(ink.direction, frame.angle), 10) << ink.direction << " against " << frame.angle;
            ++framesSeen;
        }
    }
    EXPECT_GE(framesSeen, 4u);  // the textboxes samples, text_paths and linked_texts
}

}  // namespace
}  // namespace qxptest
