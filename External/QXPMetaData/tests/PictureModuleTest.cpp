// Without its drawing modules beside it the library still extracts everything they do not draw.
#include "CorpusTest.h"

#include <ChildProcess.h>
#include <TemporaryFolder.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using PictureModule = qxptest::CorpusTest;

// Each row copies some of the library's files into a folder of their own and draws a page with
// text from there: the tool finds the copies first through LD_LIBRARY_PATH.
TEST_F(PictureModule, MissingModulesLeaveOnlyWhatTheyDrawOut) {
    const struct {
        const char* name;
        std::vector<std::string> files;
        int exitStatus;
        const char* output;
    } rows[] = {
        {"without the picture module, no picture", {QXPMETADATA_LIBRARY}, 1, "no picture (status 0)"},
        {"without the text module, a picture without text", {QXPMETADATA_LIBRARY, PICTURE_MODULE}, 0, "396x512 in"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder folder("qxpmetadata-nomodule");
        for (const std::string& file : row.files) fs::copy_file(file, fs::path(folder.path()) / fs::path(file).filename());
        const ChildResult run = RunChild({RENDER_TOOL, folder.path(), QXP_CORPUS "/4.0_win/textboxes.qxd"},
                                         {{"LD_LIBRARY_PATH", folder.path()}});
        EXPECT_EQ(run.exitStatus, row.exitStatus) << run.standardOutput << run.standardError;
        EXPECT_NE(run.standardOutput.find(row.output), std::string::npos) << run.standardOutput;
    }
}

}  // namespace
