// A test case whose program runs in a private root (tests/support/in-private-root): a scratch
// folder with a home folder whose name has blanks, and a check afterwards that nothing in this
// machine's own /Library and /temp changed.
#pragma once

#include <FolderSnapshot.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class PrivateRootCase : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root for a private mount namespace";
        realLibrary = FolderSnapshot("/Library");
        realTemp = FolderSnapshot("/temp");
        std::string pattern = "/tmp/private root case XXXXXX";
        scratch = mkdtemp(pattern.data());
        home = scratch / "home with blanks";
        std::filesystem::create_directories(home);
    }

    void TearDown() override
    {
        if (scratch.empty())
            return;
        std::filesystem::remove_all(scratch);
        EXPECT_EQ(FolderSnapshot("/Library"), realLibrary) << "the real /Library was touched";
        EXPECT_EQ(FolderSnapshot("/temp"), realTemp) << "the real /temp was touched";
    }

    std::filesystem::path scratch;
    std::filesystem::path home;
    std::string realLibrary;
    std::string realTemp;
};
