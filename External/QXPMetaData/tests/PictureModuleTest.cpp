// Without its drawing module beside it the library still extracts everything but the picture.
#include "CorpusTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using PictureModule = qxptest::CorpusTest;

TEST_F(PictureModule, MissingModuleLeavesOnlyThePictureOut) {
    const fs::path folder = fs::temp_directory_path() / ("qxpmetadata-nomodule-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::copy_file(QXPMETADATA_LIBRARY, folder / fs::path(QXPMETADATA_LIBRARY).filename());

    // The tool finds the lone copy first through LD_LIBRARY_PATH; the module is not there.
    const std::string command = "LD_LIBRARY_PATH='" + folder.string() + "' '" + RENDER_TOOL + "' '" + folder.string() +
                                "' '" + QXP_CORPUS + "/4.0_win/colors.qxd' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pclose(pipe);
    fs::remove_all(folder);

    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;
    EXPECT_NE(output.find("no picture (status 0)"), std::string::npos) << output;
}

}  // namespace
