// The three ways the extractor is asked to run, and the entries each reads.
#pragma once

#include <cstdint>
#include <cstring>

enum ExtractionMode : int {
    kNoMode = 0,
    kThumbnailMode = 1,  // "-t": the picture
    kPreviewMode = 2,    // "-p": summary, page size, texts, lists and the picture
    kSearchMode = 3,     // "-s": lists and the texts for searching
};

// Exact, case-sensitive match of the whole argument.
inline ExtractionMode ModeForSwitch(const char* argument) {
    if (std::strcmp(argument, "-t") == 0) return kThumbnailMode;
    if (std::strcmp(argument, "-p") == 0) return kPreviewMode;
    if (std::strcmp(argument, "-s") == 0) return kSearchMode;
    return kNoMode;
}

// The bitwise OR of the entry identifiers that the mode reads.
inline uint32_t MaskForMode(ExtractionMode mode) {
    switch (mode) {
    case kThumbnailMode: return 8;     // entry 8
    case kPreviewMode: return 255;     // entries 1, 2, 4, 8, 16, 32, 64, 128
    case kSearchMode: return 992;      // entries 32, 64, 128, 256, 512
    case kNoMode: break;
    }
    return 0;
}
