#include "ThumbnailInChild.h"

#include "FirstPagePicture.h"
#include "SkinnedThumbnail.h"

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

// The child's answer: the width and height, then the rows.
struct PictureSize {
    int32_t width;
    int32_t height;
};

// What the child does with each request: the pixels of what foliotta-thumbnailer writes for it.
std::optional<std::string> DrawPixels(const std::string& bytes)
{
    const std::optional<ThumbnailInChildRequest> request = Decoded(bytes);
    if (!request)
        return std::nullopt;
    const CairoSurface thumbnail = DrawSkinnedThumbnail(
        [&](int longerSide) { return DrawFirstPage(request->documentPath, longerSide); }, request->size, *request->skin,
        request->background);
    if (!thumbnail || cairo_image_surface_get_format(thumbnail.get()) != CAIRO_FORMAT_ARGB32)
        return std::nullopt;
    cairo_surface_flush(thumbnail.get());
    const PictureSize size = {cairo_image_surface_get_width(thumbnail.get()), cairo_image_surface_get_height(thumbnail.get())};
    const int stride = cairo_image_surface_get_stride(thumbnail.get());
    const auto* rows = reinterpret_cast<const char*>(cairo_image_surface_get_data(thumbnail.get()));
    std::string answer(reinterpret_cast<const char*>(&size), sizeof size);
    for (int y = 0; y < size.height; ++y)
        answer.append(rows + static_cast<ptrdiff_t>(y) * stride, static_cast<size_t>(size.width) * 4);
    return answer;
}

}  // namespace

ThumbnailInChildDrawer::ThumbnailInChildDrawer(const std::string& fontConfiguration)
    : environmentEntries_(ChildEnvironment(fontConfiguration)), environment_(EnvironmentBlock(environmentEntries_)),
      child_(DrawPixels, ChildLimits{kTimeLimit, kMemoryLimitBytes, environment_.data()})
{
}

std::optional<ThumbnailPixels> ThumbnailInChildDrawer::draw(const ThumbnailInChildRequest& request)
{
    const std::optional<std::string> answer = child_.ask(Encoded(request));
    PictureSize size;
    if (!answer || answer->size() < sizeof size)
        return std::nullopt;
    std::memcpy(&size, answer->data(), sizeof size);
    if (size.width <= 0 || size.height <= 0 ||
        answer->size() - sizeof size != static_cast<size_t>(size.width) * static_cast<size_t>(size.height) * 4)
        return std::nullopt;
    return ThumbnailPixels{size.width, size.height, answer->substr(sizeof size)};
}
