// qxp-render-pictures OUTPUT-FOLDER DOCUMENT...: saves each document's first-page picture as
// OUTPUT-FOLDER/<name>.png, and prints the time each extraction took.
#include "ExtractionHelpers.h"

#include <CoreServices/CoreServices.h>
#include <ImageIO/ImageIO.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER DOCUMENT...\n", argv[0]);
        return 2;
    }
    const std::filesystem::path output = argv[1];
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        const auto start = std::chrono::steady_clock::now();
        qxptest::Extraction extraction = qxptest::Extract(argv[i], QUARK::QXPMETADATA::kQXPEntryThumbnail);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        CGImageRef image = extraction.status == 0 ? extraction.Image(QUARK::QXPMETADATA::kQXPEntryThumbnail) : nullptr;
        if (image == nullptr) {
            std::printf("%s: no picture (status %d)\n", argv[i], extraction.status);
            ++failures;
            continue;
        }
        CFMutableDataRef png = CFDataCreateMutable(kCFAllocatorDefault, 0);
        CGImageDestinationRef destination = CGImageDestinationCreateWithData(png, kUTTypePNG, 1, nullptr);
        CGImageDestinationAddImage(destination, image, nullptr);
        CGImageDestinationFinalize(destination);
        const std::filesystem::path file = output / (std::filesystem::path(argv[i]).parent_path().filename().string() +
                                                     "_" + std::filesystem::path(argv[i]).stem().string() + ".png");
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(CFDataGetBytePtr(png)), CFDataGetLength(png));
        CFRelease(png);
        CFRelease(destination);
        std::printf("%s: %zux%zu in %.1f ms -> %s\n", argv[i], CGImageGetWidth(image), CGImageGetHeight(image), ms,
                    file.c_str());
    }
    return failures == 0 ? 0 : 1;
}
