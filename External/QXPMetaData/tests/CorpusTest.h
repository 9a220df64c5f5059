// The sample documents, and the base of the tests that read them: without the sample folder
// those tests skip, saying why, instead of failing on a missing file.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qxptest {

// The sample documents the reader library supports (3.3 and 4.0), sorted; empty without the folder.
std::vector<std::string> SupportedCorpusFiles();
bool CorpusPresent();
inline constexpr const char* kNoCorpus = "no sample documents at " QXP_CORPUS;

class CorpusTest : public testing::Test {
protected:
    void SetUp() override {
        if (!CorpusPresent()) GTEST_SKIP() << kNoCorpus;
    }
};

}  // namespace qxptest
