// A page looks the same at every size, only sharper: the picture drawn at twice the size matches
// the smaller picture region by region. Text laid out anew for each size (other line breaks,
// other sizes) shows as regions that differ.
#include "ExtractionHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace qxptest {
namespace {

// Grey levels of a picture averaged over blocks of block x block pixels: a block is small enough
// to tell a line of text from the next and large enough that text placed on whole pixels at one
// size and on others at the other one does not count.
struct Greys {
    size_t width = 0, height = 0;  // in blocks
    std::vector<double> levels;
    double At(size_t x, size_t y) const { return levels[y * width + x]; }
};

Greys BlockGreys(CGImageRef image, size_t block) {
    const size_t width = CGImageGetWidth(image), height = CGImageGetHeight(image);
    const std::vector<UInt8> rgba = PageRGBA(image);
    Greys greys{width / block, height / block, {}};
    greys.levels.assign(greys.width * greys.height, 0);
    for (size_t y = 0; y < greys.height * block; ++y)
        for (size_t x = 0; x < greys.width * block; ++x) {
            const UInt8* pixel = &rgba[(y * width + x) * 4];
            greys.levels[y / block * greys.width + x / block] += (pixel[0] + pixel[1] + pixel[2]) / 3.0 / (block * block);
        }
    return greys;
}

struct Region {
    size_t x = 0, y = 0;    // in blocks
    double difference = 0;  // mean grey-level difference of its blocks
};

// The region of 2 x 2 blocks in which the two pictures differ most.
Region MostDifferentRegion(const Greys& a, const Greys& b) {
    Region worst;
    for (size_t y = 0; y + 1 < std::min(a.height, b.height); ++y)
        for (size_t x = 0; x + 1 < std::min(a.width, b.width); ++x) {
            double sum = 0;
            for (size_t dy = 0; dy < 2; ++dy)
                for (size_t dx = 0; dx < 2; ++dx) sum += std::abs(a.At(x + dx, y + dy) - b.At(x + dx, y + dy));
            if (sum / 4 > worst.difference) worst = {x, y, sum / 4};
        }
    return worst;
}

TEST(PictureScale, TwiceTheSizeHalvedLooksTheSame) {
    // formatting.qxd holds every kind of text style: small capitals, strike-through, underlines,
    // rises, justified and forced paragraphs.
    const std::string path = std::string(SAMPLES) + "/formatting.qxd";
    Extraction small = Extract(path, kQXPEntryThumbnail, 512);
    Extraction large = Extract(path, kQXPEntryThumbnail, 1024);
    ASSERT_EQ(small.status, 0);
    ASSERT_EQ(large.status, 0);
    constexpr size_t kBlock = 8;  // pixels of the 512-pixel picture
    const Greys smallGreys = BlockGreys(small.Image(kQXPEntryThumbnail), kBlock);
    const Greys largeGreys = BlockGreys(large.Image(kQXPEntryThumbnail), 2 * kBlock);
    ASSERT_EQ(smallGreys.width, largeGreys.width);
    ASSERT_LE(std::max(smallGreys.height, largeGreys.height) - std::min(smallGreys.height, largeGreys.height), 1u);

    // Drawn alike, the two differ by 13 grey levels in the worst region: glyphs placed on whole
    // pixels at each size. Text set in other sizes or broken into other lines differs by 45.
    const Region worst = MostDifferentRegion(smallGreys, largeGreys);
    EXPECT_LT(worst.difference, 25) << "at pixel " << worst.x * kBlock << ", " << worst.y * kBlock
                                    << " of the 512-pixel picture";
}

}  // namespace
}  // namespace qxptest
