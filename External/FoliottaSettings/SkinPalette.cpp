#include "SkinPalette.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr SkinPalette palettes[] = {
    {"Classic", {236, 236, 236}, {255, 255, 255}, {30, 30, 30}, {110, 110, 110}, {40, 90, 170}, {214, 214, 214},
     {128, 128, 128}, true, "DejaVu Sans"},
    {"Graphite", {52, 54, 58}, {72, 75, 80}, {235, 235, 235}, {170, 172, 176}, {255, 170, 60}, {36, 37, 40},
     {36, 37, 40}, true, "DejaVu Sans"},
    {"Ocean", {16, 72, 110}, {230, 244, 252}, {10, 40, 64}, {70, 110, 140}, {0, 150, 180}, {10, 52, 84},
     {10, 52, 84}, true, "Liberation Sans"},
    {"Paper", {244, 236, 218}, {252, 248, 238}, {60, 44, 30}, {130, 110, 90}, {150, 60, 40}, {226, 214, 190},
     {140, 112, 84}, false, "DejaVu Serif"},
};

}  // namespace

std::span<const SkinPalette> SkinPalettes() { return palettes; }

const SkinPalette* SkinPaletteTitled(std::string_view title)
{
    for (const SkinPalette& palette : palettes)
        if (title == palette.title)
            return &palette;
    return nullptr;
}

const SkinPalette& SkinPaletteAtListIndex(long long listIndex)
{
    const long long count = static_cast<long long>(std::size(palettes));
    return palettes[listIndex >= 0 && listIndex < count ? listIndex : 0];
}

SkinPageFrame SkinPageFrameFor(double longerSide)
{
    // Whole pixels, so that the border stays crisp at thumbnail sizes.
    return SkinPageFrame{std::max(1.0, std::round(longerSide / 96.0)), std::round(longerSide / 7.0)};
}
