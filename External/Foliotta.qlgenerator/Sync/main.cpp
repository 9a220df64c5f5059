// foliotta-sync-thumbnailer
// Carries the preview appearance chosen in the preference pane to the desktop's thumbnails. Run
// at login (autostart) and whenever asked: reads skin.plist as the pane does (the user's
// generator bundle first, then /Library's), writes the per-user .thumbnailer that draws in that
// skin and colour, and, when that changed anything, deletes the cached thumbnails of QuarkXPress
// documents so that they are drawn again in the new look. Without a generator bundle the
// override declines, so thumbnails stop with the product.
#include "SkinSettings.h"
#include "ThumbnailCache.h"
#include "ThumbnailerOverride.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The thumbnailer installed beside this program.
std::string ThumbnailerProgram()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return (self.parent_path() / "foliotta-thumbnailer").string();
}


std::string WantedOverride(const std::string& thumbnailer)
{
    const std::optional<SkinSettings> settings = ReadInstalledSkinSettings();
    if (!settings)
        return OverrideDeclining(thumbnailer);
    std::optional<SkinColor> background;
    if (settings->background)
        background = SkinColorOf(*settings->background);
    return OverrideDrawingIn(thumbnailer, SkinPaletteAtListIndex(settings->skinListIndex), background);
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

int main()
{
    const std::string overridePath = OverridePath();
    const std::string wanted = WantedOverride(ThumbnailerProgram());
    if (FileText(overridePath) == wanted)
        return 0;
    if (!ReplaceFile(overridePath, wanted)) {
        std::fprintf(stderr, "foliotta-sync-thumbnailer: cannot write %s\n", overridePath.c_str());
        return 1;
    }
    DeleteQuarkXPressEntries(ThumbnailCacheFolder());
    return 0;
}
