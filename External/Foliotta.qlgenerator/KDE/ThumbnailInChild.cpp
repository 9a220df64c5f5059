#include "ThumbnailInChild.h"

#include "ChildDrawing.h"
#include "FirstPagePicture.h"
#include "PngEncoding.h"
#include "SkinnedThumbnail.h"

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <utility>
#include <vector>

extern char** environ;

namespace {

constexpr std::chrono::seconds kTimeLimit{10};
constexpr size_t kMemoryLimitBytes = size_t{1} << 30;

// This process's environment with FONTCONFIG_FILE naming the given file. The child starts
// fontconfig afresh from it; the host's own fonts stay as they were.
class ChildEnvironment {
public:
    explicit ChildEnvironment(const std::string& fontConfiguration)
        : setting_("FONTCONFIG_FILE=" + fontConfiguration)
    {
        for (char** entry = environ; *entry != nullptr; ++entry)
            if (std::strncmp(*entry, "FONTCONFIG_FILE=", 16) != 0)
                entries_.push_back(*entry);
        if (!fontConfiguration.empty())
            entries_.push_back(setting_.data());
        entries_.push_back(nullptr);
    }
    char** get() { return entries_.data(); }

private:
    std::string setting_;
    std::vector<char*> entries_;
};

}  // namespace

ThumbnailInChildDrawer::ThumbnailInChildDrawer(std::string fontConfiguration)
    : fontConfiguration_(std::move(fontConfiguration)), loadedFonts_(FcConfigCreate())
{
    const auto* file = reinterpret_cast<const FcChar8*>(fontConfiguration_.empty() ? nullptr : fontConfiguration_.c_str());
    if (loadedFonts_ != nullptr && FcConfigParseAndLoad(loadedFonts_, file, FcFalse))
        FcConfigBuildFonts(loadedFonts_);
}

ThumbnailInChildDrawer::~ThumbnailInChildDrawer()
{
    if (loadedFonts_ != nullptr)
        FcConfigDestroy(loadedFonts_);
}

std::optional<std::string> ThumbnailInChildDrawer::drawPng(const ThumbnailInChildRequest& request) const
{
    ChildEnvironment environment(fontConfiguration_);
    return RunInChild(
        [&]() -> std::optional<std::string> {
            const CairoSurface thumbnail = DrawSkinnedThumbnail(
                [&](int longerSide) { return DrawFirstPage(request.documentPath, longerSide); }, request.size, *request.skin,
                request.background);
            return thumbnail ? EncodePng(thumbnail.get()) : std::nullopt;
        },
        ChildLimits{kTimeLimit, kMemoryLimitBytes, environment.get()});
}
