// The sample documents, and the base of the tests that read them: without the sample folder
// those tests skip, saying why, instead of failing on a missing file.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace qxptest {

// The sample documents the reader library supports (3.3 and 4.0), sorted; empty without the folder.
inline std::vector<std::string> SupportedCorpusFiles() {
    std::vector<std::string> files;
    for (const char* folder : {"3.3_mac", "4.0_win"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(QXP_CORPUS) / folder, error))
            if (entry.is_regular_file()) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

inline bool CorpusPresent() { return !SupportedCorpusFiles().empty(); }
inline constexpr const char* kNoCorpus = "no sample documents at " QXP_CORPUS;

class CorpusTest : public testing::Test {
protected:
    void SetUp() override {
        if (!CorpusPresent()) GTEST_SKIP() << kNoCorpus;
    }
};

}  // namespace qxptest
