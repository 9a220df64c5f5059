// The sample documents the generator's tests run over: the project's own few, and the full sample
// set beside the project when it is there; and documents that no reader can read.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

inline std::vector<std::string> ReadableSamples() {
    std::vector<std::string> documents = {std::string(SAMPLES) + "/colors.qxd", std::string(SAMPLES) + "/formatting.qxd",
                                          std::string(SAMPLES) + "/textboxes-3.3"};
    for (const char* folder : {"4.0_win", "3.3_mac"}) {
        const std::filesystem::path path = std::filesystem::path(QXP_CORPUS) / folder;
        if (!std::filesystem::is_directory(path)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(path)) documents.push_back(entry.path().string());
    }
    std::sort(documents.begin(), documents.end());
    return documents;
}

// Old formats, something that is not a document, an empty file, a folder, a missing file.
inline std::vector<std::string> UnreadableDocuments() {
    std::vector<std::string> documents = {std::string(SAMPLES) + "/qxp2-unsupported", std::string(SAMPLES) + "/ATTRIBUTION.md",
                                          "/dev/null", "/", "/no/such/document.qxd"};
    for (const char* old : {"qxp1_mac", "qxp2_mac"}) {
        const std::string path = std::string(QXP_CORPUS) + "/unsupported/" + old;
        if (std::filesystem::exists(path)) documents.push_back(path);
    }
    return documents;
}
