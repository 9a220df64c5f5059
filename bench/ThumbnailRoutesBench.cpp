// thumbnail-routes-bench ROUNDS SIZE THUMBNAILER FONTS.CONF DOCUMENT...
// The ways the thumbnail plugin could draw, per document: in the worker's own process, in a child
// that stays and draws one document after another (what the plugin does), and by starting the
// thumbnailer program. Prints
// the median over the rounds of each way's time for the whole folder, per document, and whether
// the three give the same PNG bytes. A measurement for bench/, not a test.
#include "FirstPagePicture.h"
#include "PngEncoding.h"
#include "SkinnedThumbnail.h"
#include "ThumbnailInChild.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The picture drawn here, as a PNG or (empty) as pixels ready to hand over.
std::optional<std::string> InProcess(const std::string& document, int size, bool png)
{
    const CairoSurface thumbnail = DrawSkinnedThumbnail([&](int side) { return DrawFirstPage(document, side); }, size,
                                                        SkinPaletteAtListIndex(0), std::nullopt);
    if (!thumbnail)
        return std::nullopt;
    return png ? EncodePng(thumbnail.get()) : std::optional<std::string>("");
}

std::optional<std::string> ByProgram(const std::string& thumbnailer, const std::string& document, int size)
{
    const std::string output = "/tmp/thumbnail-routes-bench." + std::to_string(getpid()) + ".png";
    const std::string sizeText = std::to_string(size);
    const char* arguments[] = {thumbnailer.c_str(), "-s", sizeText.c_str(), document.c_str(), output.c_str(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, thumbnailer.c_str(), nullptr, nullptr, const_cast<char**>(arguments), environ) != 0)
        return std::nullopt;
    int status = 0;
    waitpid(child, &status, 0);
    std::ifstream in(output, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::remove(output.c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? std::optional(bytes.str()) : std::nullopt;
}

// The child's pixels as the PNG that foliotta-thumbnailer would write of them.
std::optional<std::string> PngOf(const std::optional<ThumbnailPixels>& pixels)
{
    if (!pixels)
        return std::nullopt;
    std::string rows = pixels->argb;
    const CairoSurface surface(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(rows.data()),
                                                                   CAIRO_FORMAT_ARGB32, pixels->width, pixels->height,
                                                                   pixels->width * 4));
    return EncodePng(surface.get());
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: thumbnail-routes-bench ROUNDS SIZE THUMBNAILER FONTS.CONF DOCUMENT...\n");
        return 2;
    }
    const int rounds = std::atoi(argv[1]);
    const int size = std::atoi(argv[2]);
    const std::string thumbnailer = argv[3], fonts = argv[4];
    const std::vector<std::string> documents(argv + 5, argv + argc);
    setenv("FONTCONFIG_FILE", fonts.c_str(), 1);  // in this process too, as the thumbnailer has it

    // Each way timed as it hands the picture over (pixels in a process, a PNG from the program),
    // and its picture as a PNG, to compare.
    using Draw = std::function<std::optional<std::string>(const std::string&)>;
    struct Route {
        const char* name;
        Draw draw;
        Draw png;
        std::vector<double> seconds = {};
        std::vector<std::optional<std::string>> pictures = {};
    };
    ThumbnailInChildDrawer drawer(fonts);
    const auto inChild = [&](const std::string& d) { return drawer.draw({d, size, &SkinPaletteAtListIndex(0), std::nullopt}); };
    const Draw program = [&](const std::string& d) { return ByProgram(thumbnailer, d, size); };
    Route routes[] = {
        {"in the worker's process", [&](const std::string& d) { return InProcess(d, size, false); },
         [&](const std::string& d) { return InProcess(d, size, true); }},
        {"in a child that stays", [&](const std::string& d) { return inChild(d) ? std::optional<std::string>("") : std::nullopt; },
         [&](const std::string& d) { return PngOf(inChild(d)); }},
        {"the thumbnailer program", program, program},
    };
    for (Route& route : routes)  // warm: the libraries and fonts loaded, as in a worker that has drawn before
        for (const std::string& document : documents)
            route.pictures.push_back(route.png(document));
    for (int round = 0; round < rounds; ++round)
        for (Route& route : routes) {
            const auto start = Clock::now();
            for (const std::string& document : documents)
                route.draw(document);
            route.seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
    size_t drawn = 0, same = 0;
    for (size_t i = 0; i < documents.size(); ++i) {
        drawn += routes[0].pictures[i].has_value();
        same += routes[0].pictures[i] == routes[1].pictures[i] && routes[1].pictures[i] == routes[2].pictures[i];
    }
    std::printf("%zu documents at %d px (%zu drawn), median of %d rounds, per document:\n", documents.size(), size, drawn, rounds);
    for (const Route& route : routes)
        std::printf("  %-26s %7.2f ms\n", route.name, Median(route.seconds) * 1000 / documents.size());
    std::printf("  the same PNG bytes all three ways: %zu of %zu documents\n", same, documents.size());
    return 0;
}
