// The preview and search as an install leaves them: `make install-user` (prefix: the home folder)
// into a temporary prefix, and a package's staged /usr tree, each then run from where it landed.
#include "PrivateRuntimeFolder.h"

#include <ChildProcess.h>
#include <TemporaryFolder.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct Layout {
    std::string prefix;      // what --prefix names
    std::string stagedRoot;  // DESTDIR, or empty
};

TEST(FoliottaInstall, ThePreviewAndTheSearchRunFromWhereTheInstallPutThem) {
    TemporaryFolder home("foliotta-install-home");
    TemporaryFolder stage("foliotta-install-stage");
    for (const Layout& layout : {Layout{home.path(), ""}, Layout{"/usr", stage.path()}}) {
        SCOPED_TRACE(layout.prefix);
        const ChildResult install = RunChild({CMAKE_COMMAND, "--install", BUILD_DIR, "--prefix", layout.prefix},
                                             {{"DESTDIR", layout.stagedRoot.empty() ? std::nullopt : std::optional(layout.stagedRoot)}});
        ASSERT_EQ(install.exitStatus, 0) << install.standardOutput << install.standardError;
        const std::string root = layout.stagedRoot + layout.prefix;

        const std::string extractorFolder = root + "/" LIBDIR "/libexec/kf5/kfilemetadata/externalextractors/foliotta-quarkxpress";
        EXPECT_TRUE(std::filesystem::is_regular_file(extractorFolder + "/manifest.json"));
        EXPECT_FALSE(std::filesystem::exists(extractorFolder + "/qxpextract")) << "the build tree's link is not installed";
        const ChildResult search = RunChild({extractorFolder + "/foliotta-search"}, {},
                                            R"({"path": ")" + std::string(SAMPLES) + R"(/colors.qxd", "mimetype": "application/vnd.quark.quarkxpress"})");
        EXPECT_NE(search.standardOutput.find(R"("generator":"QuarkXPress 4.0")"), std::string::npos) << search.standardOutput;

        const std::string desktopFile = root + "/" DATADIR "/applications/foliotta-preview.desktop";
        const ChildResult validation = RunChild({"desktop-file-validate", desktopFile});
        EXPECT_EQ(validation.exitStatus, 0);
        EXPECT_EQ(validation.standardOutput, "") << "the desktop entry as the freedesktop tools read it";
        const std::string desktopEntry = ReadWholeFile(desktopFile);
        EXPECT_NE(desktopEntry.find("\nExec=" + layout.prefix + "/" BINDIR "/foliotta-preview %f\n"), std::string::npos) << desktopEntry;
        EXPECT_NE(desktopEntry.find("\nMimeType=application/vnd.quark.quarkxpress;\n"), std::string::npos);

        const std::string png = stage.path() + "/installed-preview.png";
        const ChildResult preview = RunChild({root + "/" BINDIR "/foliotta-preview", std::string(SAMPLES) + "/colors.qxd", "--png", png},
                                             {{"HOME", home.path()}});
        EXPECT_EQ(preview.exitStatus, 0) << preview.standardError;
        EXPECT_GT(std::filesystem::file_size(png), 10000u) << "a page and its facts, not only a message";
    }
}

}  // namespace

static ::testing::Environment* const privateRuntime = ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder());
