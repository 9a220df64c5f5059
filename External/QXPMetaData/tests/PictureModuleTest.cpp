// Without its drawing modules beside it the library still extracts everything they do not draw.
#include "CorpusTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using PictureModule = qxptest::CorpusTest;

// Each row copies some of the library's files into a folder of their own and draws a page with
// text from there: the tool finds the copies first through LD_LIBRARY_PATH.
TEST_F(PictureModule, MissingModulesLeaveOnlyWhatTheyDrawOut) {
    struct Row {
        const char* name;
        std::vector<std::string> files;
        int exitStatus;
        const char* output;
    };
    const Row rows[] = {
        {"without the picture module, no picture", {QXPMETADATA_LIBRARY}, 1, "no picture (status 0)"},
        {"without the text module, a picture without text", {QXPMETADATA_LIBRARY, PICTURE_MODULE}, 0, "396x512 in"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path folder = fs::temp_directory_path() / ("qxpmetadata-nomodule-" + std::to_string(getpid()));
        fs::create_directories(folder);
        for (const std::string& file : row.files) fs::copy_file(file, folder / fs::path(file).filename());

        const std::string command = "LD_LIBRARY_PATH='" + folder.string() + "' '" + RENDER_TOOL + "' '" +
                                    folder.string() + "' '" + QXP_CORPUS + "/4.0_win/textboxes.qxd' 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
        const int status = pclose(pipe);
        fs::remove_all(folder);

        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), row.exitStatus) << output;
        EXPECT_NE(output.find(row.output), std::string::npos) << output;
    }
}

}  // namespace
