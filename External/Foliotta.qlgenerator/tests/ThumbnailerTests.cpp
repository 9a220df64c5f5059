// The thumbnailer as the desktops run it: a child process given the sample documents, sizes,
// skins and colours, judged by its exit status and the PNG it leaves (or does not leave).
#include "ThumbnailPicture.h"

#include "ChildProcess.h"
#include "Samples.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// A portrait page (4.0, Windows) and a landscape one (3.3, Macintosh), both among the project's own samples.
const std::string portrait = std::string(SAMPLES) + "/colors.qxd";
const std::string landscape = std::string(SAMPLES) + "/textboxes-3.3";

class Thumbnailer : public ::testing::Test {
protected:
    ChildResult run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), THUMBNAILER);
        return RunChild(arguments);
    }
    std::string output(const std::string& name = "thumbnail.png") const { return folder_.path() + "/" + name; }

    TemporaryFolder folder_{"foliotta-thumbnailer"};
};

TEST_F(Thumbnailer, DrawsEverySampleAtTheAskedSize)
{
    for (const std::string& sample : ReadableSamples()) {
        ChildResult result = run({"-s", "256", sample, output()});
        EXPECT_EQ(result.exitStatus, 0) << sample << result.standardError;
        EXPECT_EQ(LongerSide(LoadPicture(output())), 256) << sample;
        fs::remove(output());
    }
    // A path or a file URI, with blanks or in a name that is not UTF-8, names its own file.
    const std::string spaced = folder_.WriteFile("a sample ü.qxd", ReadWholeFile(portrait));
    const std::string latin1 = folder_.WriteFile("caf\xE9.qxd", ReadWholeFile(portrait));
    // Both sides of a portrait (612 x 792 pt) and of a landscape page (651.97 x 566.93 pt), at each
    // size the desktops ask for: the shorter side is rounded (98.9 and 222.6 pixels among them).
    const struct {
        std::string input;
        int size, width, height;
    } pictures[] = {{portrait, 128, 99, 128},
                    {portrait, 256, 198, 256},
                    {portrait, 1024, 791, 1024},
                    {landscape, 128, 128, 111},
                    {landscape, 256, 256, 223},
                    {landscape, 1024, 1024, 890},
                    {spaced, 128, 99, 128},
                    {"file://" + folder_.path() + "/a%20sample%20%C3%BC.qxd", 128, 99, 128},
                    {"file:///" + spaced.substr(1), 128, 99, 128},
                    {latin1, 128, 99, 128},
                    {"file://" + folder_.path() + "/caf%E9.qxd", 128, 99, 128}};
    for (const auto& expected : pictures) {
        EXPECT_EQ(run({"-s", std::to_string(expected.size), expected.input, output()}).exitStatus, 0) << expected.input;
        EXPECT_EQ(LoadPicture(output()).size(), QSize(expected.width, expected.height)) << expected.input << " at " << expected.size;
        fs::remove(output());
    }
    EXPECT_EQ(FolderListing(folder_.path()), "a sample ü.qxd caf\xE9.qxd ") << "no temporary file stays behind";
}

TEST_F(Thumbnailer, WritesIntoAnOutputFileTheCallerMadeAndKeepsOpen)
{
    // Tumbler makes the output file and reads the picture through the handle it keeps.
    const std::string made = folder_.WriteFile("tumbler-AB12CD.png", "");
    std::ifstream callersHandle(made, std::ios::binary);
    EXPECT_EQ(run({"-s", "128", portrait, made}).exitStatus, 0);
    const std::string png((std::istreambuf_iterator<char>(callersHandle)), std::istreambuf_iterator<char>());
    QImage picture;
    EXPECT_TRUE(picture.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG"));
    EXPECT_EQ(LongerSide(picture), 128);
    EXPECT_EQ(FolderListing(folder_.path()), "tumbler-AB12CD.png ");
}

// A document it cannot draw, a request it cannot take, or an output that is neither a new name
// nor a regular file: it fails, and leaves every file as it was and none of its own behind.
TEST_F(Thumbnailer, FailsWithoutWritingAnythingButANewNameOrARegularFile)
{
    const std::string fake = folder_.WriteFile("fake.qxd", "not a QuarkXPress document at all\n");
    std::string header(4096, '\0');
    header.replace(2, 6, "MMXPR3");
    const std::string damaged = folder_.WriteFile("damaged", header);
    const std::string missing = folder_.path() + "/missing.qxd";
    const std::string elsewhere = folder_.WriteFile("elsewhere.png", "the user's own file");
    ASSERT_EQ(mkfifo(output("fifo.png").c_str(), 0600), 0);
    fs::create_symlink(elsewhere, output("link.png"));
    fs::create_symlink(output("nowhere"), output("dangling.png"));
    fs::create_directory(output("folder.png"));
    struct Failure {
        std::vector<std::string> arguments;
        int status;
        std::string output;
        fs::file_type typeAfter = fs::file_type::not_found;
        std::string contentAfter = "";
    };
    std::vector<Failure> failures = {
        {{"-s", "256", std::string(SAMPLES) + "/qxp2-unsupported", output()}, 1, output()},
        {{"-s", "256", fake, output()}, 1, output()},
        {{"-s", "256", damaged, output()}, 1, output()},
        {{"-s", "256", missing, output()}, 1, output()},
        {{"-s", "256", "smb://server/share/a.qxd", output()}, 2, output()},
        {{"-s", "256", portrait, output("no such folder/thumbnail.png")}, 4, output("no such folder/thumbnail.png")},
        {{"-s", "0", portrait, output()}, 2, output()},
        {{"-s", "5000", portrait, output()}, 2, output()},
        {{"-s", "big", portrait, output()}, 2, output()},
        {{"--background", "256,0,0", portrait, output()}, 2, output()},
        {{"--background", "1,2", portrait, output()}, 2, output()},
        {{portrait}, 2, output()},
        {{"-s", "128", portrait, output("fifo.png")}, 4, output("fifo.png"), fs::file_type::fifo},
        {{"-s", "128", portrait, output("link.png")}, 4, output("link.png"), fs::file_type::symlink},
        {{"-s", "128", portrait, output("dangling.png")}, 4, output("dangling.png"), fs::file_type::symlink},
        {{"-s", "128", portrait, output("folder.png")}, 4, output("folder.png"), fs::file_type::directory},
        // A document that cannot be drawn leaves a file the caller made as it was.
        {{"-s", "128", missing, folder_.WriteFile("tumbler-EF34GH.png", "")}, 1, output("tumbler-EF34GH.png"), fs::file_type::regular},
        {{"-s", "128", missing, folder_.WriteFile("kept.png", "an earlier picture")}, 1, output("kept.png"), fs::file_type::regular,
         "an earlier picture"},
    };
    // QuarkXPress 1.x, where the full sample set is there.
    if (const std::string older = std::string(QXP_CORPUS) + "/unsupported/qxp1_mac"; fs::exists(older))
        failures.push_back({{"-s", "256", older, output()}, 1, output()});
    for (const auto& failure : failures) {
        std::string arguments;
        for (const std::string& argument : failure.arguments)
            arguments += argument + " ";
        const ChildResult result = run(failure.arguments);
        EXPECT_EQ(result.exitStatus, failure.status) << arguments << result.standardError;
        EXPECT_EQ(fs::symlink_status(failure.output).type(), failure.typeAfter) << arguments;
        if (failure.typeAfter == fs::file_type::regular) {
            EXPECT_EQ(ReadWholeFile(failure.output), failure.contentAfter) << arguments;
        }
    }
    EXPECT_EQ(ReadWholeFile(elsewhere), "the user's own file") << "a link's target is never written";
    EXPECT_FALSE(fs::exists(output("nowhere"))) << "a dangling link is not followed to make its target";
    EXPECT_EQ(FolderListing(folder_.path()),
              "damaged dangling.png elsewhere.png fake.qxd fifo.png folder.png kept.png link.png tumbler-EF34GH.png ")
        << "no temporary file stays behind";
}

// In every skin, at each size, on a portrait and a landscape page: the background a sixteenth of
// the picture wide round the page, the skin's border, and its folded corner inside the border
// with the corner's cut showing the background.
TEST_F(Thumbnailer, PutsThePageInTheSkinsFrameOnTheBackgroundColour)
{
    const SkinColor blue{214, 234, 248};
    for (const SkinPalette& skin : SkinPalettes())
        for (const std::string& sample : {portrait, landscape})
            for (int size : {256, 512, 1024}) {
                SCOPED_TRACE(std::string(skin.title) + " " + sample + " at " + std::to_string(size));
                ASSERT_EQ(run({"--skin", skin.title, "--background", "214,234,248", "-s", std::to_string(size), sample, output()})
                              .exitStatus, 0);
                const QImage picture = LoadPicture(output());
                EXPECT_EQ(LongerSide(picture), size);
                EXPECT_EQ(ColorAt(picture, 0, 0), blue);
                EXPECT_EQ(ColorAt(picture, picture.width() - 1, picture.height() - 1), blue);
                // The margin and the border's width, read along the middle row from the left.
                const int middle = picture.height() / 2;
                int margin = 0, border = 0;
                while (margin < picture.width() && ColorAt(picture, margin, middle) == blue) ++margin;
                while (margin + border < picture.width() && ColorAt(picture, margin + border, middle) == skin.frame) ++border;
                EXPECT_EQ(margin, size / 16);
                ASSERT_GT(border, 0);
                // Every pixel of the fold lies within the border's inner edges.
                const int innerRight = picture.width() - margin - border, innerTop = margin + border;
                int foldPixels = 0, outside = 0;
                for (int y = margin; y < picture.height() / 2; ++y)
                    for (int x = picture.width() / 2; x < picture.width() - margin; ++x)
                        if (ColorAt(picture, x, y) == skin.accent) {
                            ++foldPixels;
                            if (x >= innerRight || y < innerTop) ++outside;
                        }
                EXPECT_GT(foldPixels, size * size / 200);
                EXPECT_EQ(outside, 0) << "fold pixels on or past a border " << border << " pixels wide";
                EXPECT_EQ(ColorAt(picture, picture.width() - margin - 2, margin + 2), blue) << "the fold's cut";
            }
}

TEST_F(Thumbnailer, WithoutABackgroundThePageIsAlone)
{
    const SkinPalette& paper = *SkinPaletteTitled("Paper");
    ASSERT_EQ(run({"--skin", "Paper", "--background", "none", "-s", "128", portrait, output()}).exitStatus, 0);
    const QImage picture = LoadPicture(output());
    EXPECT_EQ(picture.height(), 128) << "no margin: the page fills the picture";
    EXPECT_EQ(ColorAt(picture, 0, 0), paper.frame);
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 255);
    EXPECT_EQ(picture.pixelColor(picture.width() - 1, 0).alpha(), 0) << "the fold's cut shows nothing";

    // Unknown skins and no arguments give the installed look: the first skin, no background.
    for (std::vector<std::string> look : {std::vector<std::string>{"--skin", "Chrome"}, std::vector<std::string>{}}) {
        look.insert(look.end(), {portrait, output()});
        ASSERT_EQ(run(look).exitStatus, 0);
        const QImage installedLook = LoadPicture(output());
        EXPECT_EQ(ColorAt(installedLook, 0, 0), SkinPalettes()[0].frame);
        EXPECT_EQ(LongerSide(installedLook), 256) << "the size when none is asked";
    }
}

}  // namespace
