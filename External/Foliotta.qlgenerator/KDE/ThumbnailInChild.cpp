#include "ThumbnailInChild.h"

#include "WarmChild.h"
#include "FirstPagePicture.h"
#include "PngEncoding.h"
#include "SkinnedThumbnail.h"

#include <fontconfig/fontconfig.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

extern char** environ;

namespace {

constexpr std::chrono::seconds kTimeLimit{10};
constexpr size_t kMemoryLimitBytes = size_t{1} << 30;

// This process's environment with FONTCONFIG_FILE naming the given file. The child starts
// fontconfig afresh from it; the host's own fonts stay as they were.
std::vector<std::string> ChildEnvironment(const std::string& fontConfiguration)
{
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::strncmp(*entry, "FONTCONFIG_FILE=", 16) != 0)
            entries.emplace_back(*entry);
    if (!fontConfiguration.empty())
        entries.push_back("FONTCONFIG_FILE=" + fontConfiguration);
    return entries;
}

std::vector<char*> EnvironmentBlock(std::vector<std::string>& entries)
{
    std::vector<char*> block;
    for (std::string& entry : entries)
        block.push_back(entry.data());
    block.push_back(nullptr);
    return block;
}

// A request as the child gets it: the fixed fields, then the document's path.
struct FixedFields {
    int32_t size;
    uint32_t skinIndex;  // in SkinPalettes()
    bool hasBackground;
    SkinColor background;
};

std::string Encoded(const ThumbnailInChildRequest& request)
{
    FixedFields fixed = {};
    fixed.size = request.size;
    fixed.skinIndex = static_cast<uint32_t>(request.skin - SkinPalettes().data());
    fixed.hasBackground = request.background.has_value();
    fixed.background = request.background.value_or(SkinColor{});
    return std::string(reinterpret_cast<const char*>(&fixed), sizeof fixed) + request.documentPath;
}

std::optional<ThumbnailInChildRequest> Decoded(const std::string& bytes)
{
    FixedFields fixed;
    if (bytes.size() < sizeof fixed)
        return std::nullopt;
    std::memcpy(&fixed, bytes.data(), sizeof fixed);
    if (fixed.skinIndex >= SkinPalettes().size())
        return std::nullopt;
    ThumbnailInChildRequest request{bytes.substr(sizeof fixed), fixed.size, &SkinPalettes()[fixed.skinIndex], std::nullopt};
    if (fixed.hasBackground)
        request.background = fixed.background;
    return request;
}

// What the child does with each request: what foliotta-thumbnailer writes for it.
std::optional<std::string> DrawPng(const std::string& bytes)
{
    const std::optional<ThumbnailInChildRequest> request = Decoded(bytes);
    if (!request)
        return std::nullopt;
    const CairoSurface thumbnail = DrawSkinnedThumbnail(
        [&](int longerSide) { return DrawFirstPage(request->documentPath, longerSide); }, request->size, *request->skin,
        request->background);
    return thumbnail ? EncodePng(thumbnail.get()) : std::nullopt;
}

}  // namespace

ThumbnailInChildDrawer::ThumbnailInChildDrawer(std::string fontConfiguration)
    : environmentEntries_(ChildEnvironment(fontConfiguration)), environment_(EnvironmentBlock(environmentEntries_)),
      loadedFonts_(FcConfigCreate()), child_(DrawPng, ChildLimits{kTimeLimit, kMemoryLimitBytes, environment_.data()})
{
    const auto* file = reinterpret_cast<const FcChar8*>(fontConfiguration.empty() ? nullptr : fontConfiguration.c_str());
    if (loadedFonts_ != nullptr && FcConfigParseAndLoad(loadedFonts_, file, FcFalse))
        FcConfigBuildFonts(loadedFonts_);
}

ThumbnailInChildDrawer::~ThumbnailInChildDrawer()
{
    if (loadedFonts_ != nullptr)
        FcConfigDestroy(loadedFonts_);
}

std::optional<std::string> ThumbnailInChildDrawer::drawPng(const ThumbnailInChildRequest& request)
{
    return child_.ask(Encoded(request));
}
