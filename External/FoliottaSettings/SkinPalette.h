// The preview skins: their colours, type and the way they frame a page. The pane's skin pictures
// and the generator's thumbnails both draw from here, so what the pane shows is what the user gets.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

struct SkinColor {
    uint8_t red, green, blue;
    bool operator==(const SkinColor&) const = default;
};

struct SkinPalette {
    const char* title;       // as the pane's skin list shows it, in the list's order
    SkinColor backdrop;      // around the preview
    SkinColor panel;         // the facts panel
    SkinColor text;
    SkinColor subtleText;
    SkinColor accent;        // headings, rules and the page's folded corner
    SkinColor titleBar;
    SkinColor frame;         // the page's border
    bool roundedCorners;
    const char* fontFamily;
};

// Every skin, in the order of the pane's skin list.
std::span<const SkinPalette> SkinPalettes();

// nullptr when no skin has that title.
const SkinPalette* SkinPaletteTitled(std::string_view title);

// The skin at a position of the pane's skin list ("Skin Index" + 1). A position outside the list
// (the "-2" an apply without a selection stores, or a list that has since shrunk) gives the first
// skin, as the pane then shows it.
const SkinPalette& SkinPaletteAtListIndex(long long listIndex);

// How a skin frames a page whose longer side is longerSide pixels: a border in the frame colour,
// and a folded top-right corner in the accent colour whose cut shows what lies behind the page.
struct SkinPageFrame {
    double borderWidth;  // whole pixels, at least one, so it shows at every size
    double cornerSize;   // whole pixels: the length of the fold along each edge
};
SkinPageFrame SkinPageFrameFor(double longerSide);
