// foliotta-thumbnailer [-s SIZE] [--skin TITLE] [--background none|R,G,B] INPUT OUTPUT
// Draws the first page of a QuarkXPress document as a PNG thumbnail whose longer side is SIZE
// pixels, in the preview skin and background colour the user chose, for the desktop's
// thumbnailers (GNOME, Xfce's Tumbler, KDE). Exits 0 only when OUTPUT was written, complete;
// on any failure no new OUTPUT is made, one the caller made holds no picture, and the status
// says why.
#include "FirstPagePicture.h"
#include "FontConfiguration.h"
#include "HeapReuse.h"
#include "OutputFile.h"
#include "PngOutputFile.h"
#include "RunLimits.h"
#include "SkinnedThumbnail.h"
#include "ThumbnailRequest.h"

#include <cstdio>
#include <exception>

namespace {

constexpr unsigned kTimeLimitSeconds = 10;
constexpr size_t kMemoryLimitBytes = size_t{1} << 30;

enum ExitStatus { kWritten = 0, kNotDrawn = 1, kUsage = 2, kNotWritten = 4 };

int Run(int argc, char* argv[])
{
    std::string error;
    const std::optional<ThumbnailRequest> request = ParseThumbnailRequest({argv + 1, argv + argc}, error);
    if (!request) {
        std::fprintf(stderr, "foliotta-thumbnailer: %s\n"
                             "usage: foliotta-thumbnailer [-s SIZE] [--skin TITLE] [--background none|R,G,B] INPUT OUTPUT\n",
                     error.c_str());
        return kUsage;
    }
    if (!IsWritableOutput(request->outputPath)) {
        std::fprintf(stderr, "foliotta-thumbnailer: %s is not a regular file\n", request->outputPath.c_str());
        return kNotWritten;
    }
    UseOwnFontConfiguration();

    const CairoSurface thumbnail = DrawSkinnedThumbnail(
        [&](int longerSide) { return DrawFirstPage(request->documentPath, longerSide); }, request->size, *request->skin,
        request->background);
    if (!thumbnail) {
        std::fprintf(stderr, "foliotta-thumbnailer: cannot draw %s\n", request->documentPath.c_str());
        return kNotDrawn;
    }
    if (!WritePngFile(thumbnail.get(), request->outputPath)) {
        std::fprintf(stderr, "foliotta-thumbnailer: cannot write %s\n", request->outputPath.c_str());
        return kNotWritten;
    }
    return kWritten;
}

}  // namespace

int main(int argc, char* argv[])
{
    ReuseFreedMemory();
    ImposeRunLimits(kTimeLimitSeconds, kMemoryLimitBytes, AbandonOutputFile);
    try {
        return Run(argc, argv);
    } catch (const std::exception& failure) {  // out of memory, mostly
        std::fprintf(stderr, "foliotta-thumbnailer: %s\n", failure.what());
        return kNotDrawn;
    }
}
