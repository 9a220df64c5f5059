// QuarkXPress thumbnails as the desktops make them. The type database is tried against this
// machine's own with a private XDG_DATA_HOME. Everything else runs inside a private root with the
// build installed in /usr, as the package installs it: GNOME's bubblewrap sandbox, Tumbler on a
// private D-Bus session, and the settings step that carries the pane's choice to both.
#include "ThumbnailPicture.h"

#include "ChildProcess.h"
#include "TemporaryFolder.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The project's own samples: a 4.0 Windows document with its extension, a 3.3 Macintosh one
// without, one set in several faces, and one in a format no reader reads.
const std::string samples = SAMPLES;
const std::string windowsSample = samples + "/colors.qxd";
const std::string macSample = samples + "/textboxes-3.3";
const std::string facesSample = samples + "/formatting.qxd";
const std::string unsupportedSample = samples + "/qxp2-unsupported";

// The value of a key in a desktop-entry style file ("" when absent).
std::string EntryValue(const std::string& file, const std::string& key)
{
    std::istringstream lines(ReadWholeFile(file));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    return "";
}

// ---- The type, against this machine's database ----

// xdg-mime on GNOME asks gio, so gio's answer is every desktop tool's.
TEST(TypeDatabase, NamesQuarkXPressDocumentsByNameAndByContent)
{
    TemporaryFolder data("foliotta-data");
    const std::string macFile = data.WriteFile("documents/colors", ReadWholeFile(macSample));
    const std::string oldFile = data.WriteFile("documents/qxp2_mac", ReadWholeFile(unsupportedSample));
    auto isQuarkXPress = [&](const std::string& file) {
        const ChildResult info = RunChild({"gio", "info", "-a", "standard::content-type", file}, {{"XDG_DATA_HOME", data.path()}});
        return info.standardOutput.find("application/vnd.quark.quarkxpress") != std::string::npos;
    };
    ASSERT_EQ(RunChild({"gio", "version"}).exitStatus, 0) << "gio (libglib2.0-bin) is needed";
    ASSERT_FALSE(isQuarkXPress(macFile)) << "this machine knows the type already";

    data.WriteFile("mime/packages/foliotta-quarkxpress.xml", ReadWholeFile(FOLIOTTA_TYPE_DEFINITION));
    ASSERT_EQ(RunChild({"update-mime-database", data.path() + "/mime"}).exitStatus, 0);
    EXPECT_TRUE(isQuarkXPress(windowsSample));
    EXPECT_TRUE(isQuarkXPress(macFile)) << "by content";
    EXPECT_FALSE(isQuarkXPress(oldFile)) << "no XPR3";
}

// ---- Inside the private root ----

class InstalledDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("FOLIOTTA_PRIVATE_ROOT") == nullptr)
            GTEST_SKIP() << "installs into /usr: runs inside a private root, which needs root";
        static const ChildResult install =
            RunChild({std::getenv("CMAKE_COMMAND"), "--install", std::getenv("BUILD_DIR"), "--prefix", "/usr"});
        ASSERT_EQ(install.exitStatus, 0) << install.standardOutput << install.standardError;
        std::error_code ignored;
        fs::remove_all("/Library", ignored);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all("/Library", ignored);
    }

    // A user's session: their home, data and cache folders, and no runtime folder.
    std::map<std::string, std::optional<std::string>> session() const
    {
        return {{"HOME", home_.path()},
                {"XDG_DATA_HOME", home_.path() + "/.local/share"},
                {"XDG_CACHE_HOME", home_.path() + "/.cache"},
                {"XDG_CONFIG_HOME", home_.path() + "/.config"},
                {"XDG_RUNTIME_DIR", std::nullopt}};
    }
    std::string overrideFile() const { return home_.path() + "/.local/share/thumbnailers/foliotta.thumbnailer"; }
    // A generator bundle with this skin.plist under a Library folder.
    void installGenerator(const std::string& library, const std::string& skinIndex, const std::string& background) const
    {
        const std::string resources = library + "/QuickLook/Foliotta.qlgenerator/Contents/Resources";
        fs::create_directories(resources);
        std::ofstream(resources + "/skin.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n<key>BGColor</key><string>" << background
            << "</string>\n<key>Skin Index</key><string>" << skinIndex << "</string>\n</dict>\n</plist>\n";
    }
    ChildResult sync() const { return RunChild({"/usr/bin/foliotta-sync-thumbnailer"}, session()); }

    TemporaryFolder home_{"foliotta-home"};
};

// ---- GNOME: the .thumbnailer's Exec line in bubblewrap, as GNOME runs it ----

class GnomeSandbox : public InstalledDesktop {
protected:
    // Runs the installed .thumbnailer's Exec line for input as GNOME does, in its sandbox.
    ChildResult thumbnail(const std::string& input, const std::string& outputFolder, int size)
    {
        const std::string entry = "/usr/share/thumbnailers/foliotta.thumbnailer";
        std::vector<std::string> command = sandbox(input, outputFolder);
        const std::map<std::string, std::string> fieldCodes = {{"%s", std::to_string(size)},
                                                               {"%u", "file:///tmp/gnome-desktop-file-to-thumbnail.qxd"},
                                                               {"%i", "/tmp/gnome-desktop-file-to-thumbnail.qxd"},
                                                               {"%o", "/tmp/gnome-desktop-thumbnailer.png"}};
        std::istringstream words(EntryValue(entry, "Exec"));
        for (std::string word; words >> word;)
            command.push_back(fieldCodes.count(word) ? fieldCodes.at(word) : word);
        return RunChild(command);
    }

    // The first page as the installed qxpextract -t draws it, in that sandbox or outside it.
    QImage extractedPicture(const std::string& input, const std::string& folder, bool sandboxed)
    {
        std::vector<std::string> command = {"/usr/bin/qxpextract", "-t", input, "faces"};
        if (sandboxed) {
            command = sandbox(input, folder);
            command.insert(command.end(), {"--setenv", "XDG_RUNTIME_DIR", "/tmp", "/usr/bin/qxpextract", "-t",
                                           "/tmp/gnome-desktop-file-to-thumbnail.qxd", "faces"});
        }
        EXPECT_EQ(RunChild(command, {{"XDG_RUNTIME_DIR", folder}}).exitStatus, 0);
        const ChildResult png = RunChild({"/usr/bin/pbutil", "get", "faces", "2", "public.png"}, {{"XDG_RUNTIME_DIR", folder}});
        std::ofstream(folder + "/page.png", std::ios::binary) << png.standardOutput;
        return LoadPicture(folder + "/page.png");
    }

private:
    // GNOME's sandbox around a command: only /usr, read-only; the output folder as /tmp; the
    // input under a fixed name there; no environment.
    static std::vector<std::string> sandbox(const std::string& input, const std::string& outputFolder)
    {
        std::vector<std::string> command = {"bwrap", "--ro-bind", "/usr", "/usr", "--ro-bind-try", "/etc/ld.so.cache",
                                            "/etc/ld.so.cache"};
        for (const char* link : {"bin", "lib", "lib64", "sbin"})
            command.insert(command.end(), {"--symlink", std::string("usr/") + link, std::string("/") + link});
        command.insert(command.end(), {"--proc", "/proc", "--dev", "/dev", "--chdir", "/", "--unshare-all", "--die-with-parent",
                                       "--clearenv", "--setenv", "GIO_USE_VFS", "local", "--bind", outputFolder, "/tmp",
                                       "--ro-bind", input, "/tmp/gnome-desktop-file-to-thumbnail.qxd"});
        // A sanitized build reports leaks of the font libraries; their suppressions lie outside.
        if (InheritedDiagnostics().count("ASAN_OPTIONS"))
            command.insert(command.end(), {"--setenv", "ASAN_OPTIONS", "detect_leaks=0"});
        return command;
    }
};

// formatting.qxd sets its lines in Courier, Times and Helvetica. The thumbnailer, and the extractor
// (and the preview, which runs it), draw them in the sandbox as the system's own font configuration
// chooses outside it, through a configuration of their own: without it, faces are lost.
TEST_F(GnomeSandbox, DrawsTheFacesTheSystemChoosesWithItsOwnConfiguration)
{
    const std::string entry = "/usr/share/thumbnailers/foliotta.thumbnailer";
    ASSERT_TRUE(fs::is_regular_file(EntryValue(entry, "TryExec"))) << ReadWholeFile(entry);
    const struct {
        const char* program;
        std::function<QImage(const std::string& folder, bool sandboxed)> draw;
    } programs[] = {
        {"thumbnailer",
         [&](const std::string& folder, bool sandboxed) {
             const std::string png = folder + "/gnome-desktop-thumbnailer.png";
             const ChildResult run = sandboxed ? thumbnail(facesSample, folder, 512)
                                               : RunChild({"/usr/bin/foliotta-thumbnailer", "-s", "512", facesSample, png});
             EXPECT_EQ(run.exitStatus, 0) << run.standardError;
             return LoadPicture(png);
         }},
        {"extractor", [&](const std::string& folder, bool sandboxed) { return extractedPicture(facesSample, folder, sandboxed); }},
    };
    const std::string ownConfiguration = "/usr/share/foliotta/fonts.conf";
    for (const auto& program : programs) {
        SCOPED_TRACE(program.program);
        TemporaryFolder expected("foliotta-expected"), sandboxed("foliotta-sandboxed"), bare("foliotta-bare");
        fs::rename(ownConfiguration, ownConfiguration + ".away");
        const QImage systemsChoice = program.draw(expected.path(), false);
        const QImage withoutConfiguration = program.draw(bare.path(), true);
        fs::rename(ownConfiguration + ".away", ownConfiguration);
        const QImage picture = program.draw(sandboxed.path(), true);
        EXPECT_EQ(LongerSide(picture), 512);
        EXPECT_TRUE(picture == systemsChoice) << "the faces differ from the system's choice";
        EXPECT_FALSE(withoutConfiguration == picture)
            << "without its own configuration the sandbox should have lost faces: this test cannot tell faces apart";
    }
}

TEST_F(GnomeSandbox, FailsWithoutOutputForAnUnsupportedDocument)
{
    TemporaryFolder output("foliotta-sandboxed");
    EXPECT_NE(thumbnail(unsupportedSample, output.path(), 256).exitStatus, 0);
    EXPECT_EQ(FolderListing(output.path()), "gnome-desktop-file-to-thumbnail.qxd ") << "only the input's mount point";
}

// ---- Tumbler: asked through its D-Bus interface on a private session bus ----

class TumblerService : public InstalledDesktop {
protected:
    // Asks Tumbler for the normal-size thumbnail of file; the cache entry's path.
    std::string thumbnail(const std::string& file)
    {
        const std::string uri = "file://" + file;
        const std::string hash =
            QCryptographicHash::hash(QByteArray::fromStdString(uri), QCryptographicHash::Md5).toHex().toStdString();
        const std::string entry = home_.path() + "/.cache/thumbnails/normal/" + hash + ".png";
        ChildResult run = RunChild({"dbus-run-session", "--", TUMBLER_QUEUE, uri, "application/vnd.quark.quarkxpress", "normal", entry},
                                   session());
        EXPECT_EQ(run.exitStatus, 0) << run.standardOutput << run.standardError;
        return entry;
    }
};

TEST_F(TumblerService, CachesTheThumbnailWithItsURIAndTimeInTheInstalledLookThenThePanes)
{
    const std::string document = home_.WriteFile("Documents/colors.qxd", ReadWholeFile(windowsSample));
    const QImage picture = LoadPicture(thumbnail(document));
    EXPECT_EQ(LongerSide(picture), 128);
    EXPECT_EQ(picture.text("Thumb::URI").toStdString(), "file://" + document);
    struct stat status = {};
    ASSERT_EQ(stat(document.c_str(), &status), 0);
    // Tumbler writes the seconds with their fraction.
    EXPECT_EQ(picture.text("Thumb::MTime").section('.', 0, 0).toStdString(), std::to_string(status.st_mtime));
    EXPECT_EQ(ColorAt(picture, 0, 0), SkinPalettes()[0].frame) << "the installed look: first skin, no background";

    installGenerator(home_.path() + "/Library", "1", "RGB(20,120,60)");
    ASSERT_EQ(sync().exitStatus, 0);
    const QImage chosen = LoadPicture(thumbnail(document));
    EXPECT_EQ(ColorAt(chosen, 0, 0), (SkinColor{20, 120, 60})) << "the user's override comes before the installed entry";
    EXPECT_EQ(ColorAt(chosen, 8, chosen.height() / 2), SkinPalettes()[2].frame);
}

// ---- The settings step: skin.plist to the per-user .thumbnailer and the cache ----

class SettingsStep : public InstalledDesktop {
protected:
    // A cache entry naming a file (and a type, when given), as the desktops write them.
    std::string cacheEntry(const std::string& folder, const std::string& name, const std::string& uri, const std::string& type = "")
    {
        const std::string path = home_.path() + "/.cache/thumbnails/" + folder + "/" + name + ".png";
        fs::create_directories(fs::path(path).parent_path());
        QImage picture(4, 4, QImage::Format_ARGB32);
        picture.fill(Qt::white);
        picture.setText("Thumb::URI", QString::fromStdString(uri));
        picture.setText("Thumb::MTime", "1700000000");
        if (!type.empty())
            picture.setText("Thumb::Mimetype", QString::fromStdString(type));
        EXPECT_TRUE(picture.save(QString::fromStdString(path), "PNG"));
        return path;
    }
    std::string execLine() const { return EntryValue(overrideFile(), "Exec"); }
    static std::string thumbnailerLine(int skin, const std::string& background)
    {
        return "/usr/bin/foliotta-thumbnailer --skin " + std::string(SkinPalettes()[skin].title) + " --background " + background +
               " -s %s %u %o";
    }
};

// Started at login, it passes the pane's choice to the thumbnailers and clears their cache.
TEST_F(SettingsStep, PassesTheSkinAndColourAndForgetsOnlyQuarkXPressThumbnails)
{
    EXPECT_EQ(EntryValue("/etc/xdg/autostart/foliotta-sync-thumbnailer.desktop", "Exec"), "/usr/bin/foliotta-sync-thumbnailer");
    installGenerator(home_.path() + "/Library", "1", "RGB(255,128,0)");
    const std::string documents = home_.path() + "/Documents";
    const std::string named = home_.WriteFile("Documents/brochure.qxd", ReadWholeFile(windowsSample));
    const std::string macFile = home_.WriteFile("Documents/mac brochure", ReadWholeFile(macSample));
    const std::string photo = home_.WriteFile("Documents/photo.png", "not really a photo");
    const std::vector<std::string> quarkEntries = {
        cacheEntry("normal", "a", "file://" + named),
        cacheEntry("large", "b", "file://" + documents + "/mac%20brochure"),
        cacheEntry("x-large", "c", "file:///gone/away/OLD.QXT"),
        cacheEntry("fail/gnome-thumbnail-factory", "d", "file://" + named),
        cacheEntry("normal", "e", "sftp://server/report.bin", "application/vnd.quark.quarkxpress"),
    };
    const std::vector<std::string> otherEntries = {
        cacheEntry("normal", "f", "file://" + photo),
        cacheEntry("fail/gnome-thumbnail-factory", "g", "file://" + photo),
        cacheEntry("normal", "h", "file:///gone/report.qxd", "image/png"),
    };

    ASSERT_EQ(sync().exitStatus, 0);
    EXPECT_EQ(execLine(), thumbnailerLine(2, "255,128,0"));
    EXPECT_EQ(EntryValue(overrideFile(), "MimeType"), "application/vnd.quark.quarkxpress;");
    for (const std::string& entry : quarkEntries)
        EXPECT_FALSE(fs::exists(entry)) << entry;
    for (const std::string& entry : otherEntries)
        EXPECT_TRUE(fs::exists(entry)) << entry;

    // Nothing changed: the cache stays.
    const std::string drawnSince = cacheEntry("normal", "i", "file://" + named);
    ASSERT_EQ(sync().exitStatus, 0);
    EXPECT_TRUE(fs::exists(drawnSince));

    // A new look: the entry goes again.
    installGenerator(home_.path() + "/Library", "-1", "none");
    ASSERT_EQ(sync().exitStatus, 0);
    EXPECT_EQ(execLine(), thumbnailerLine(0, "none"));
    EXPECT_FALSE(fs::exists(drawnSince));
}

TEST_F(SettingsStep, NeverWaitsOnAFileTheCacheNamesNorFollowsLinksOutOfIt)
{
    installGenerator(home_.path() + "/Library", "1", "none");
    const std::string fifo = home_.path() + "/Documents/pipe";
    fs::create_directories(home_.path() + "/Documents");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string waitingEntry = cacheEntry("normal", "a", "file://" + fifo);
    // A size folder that is a link to a folder outside the cache, holding a QuarkXPress entry.
    const std::string outside = home_.path() + "/elsewhere";
    fs::create_directories(outside);
    const std::string outsideEntry = outside + "/b.png";
    fs::rename(cacheEntry("normal", "b", "file:///somewhere/brochure.qxd"), outsideEntry);
    fs::create_directory_symlink(outside, home_.path() + "/.cache/thumbnails/large");

    const ChildResult run = RunChild({"timeout", "20", "/usr/bin/foliotta-sync-thumbnailer"}, session());
    EXPECT_EQ(run.exitStatus, 0) << "a FIFO named by the cache must not hold the step: " << run.standardError;
    EXPECT_TRUE(fs::exists(waitingEntry)) << "a FIFO is no QuarkXPress document";
    EXPECT_TRUE(fs::exists(outsideEntry)) << "deleted outside the cache through a link";
}

TEST_F(SettingsStep, ReadsTheSystemBundleWithoutAUserOneAndDeclinesWithNeither)
{
    installGenerator("/Library", "2", "RGB(1,2,3)");
    ASSERT_EQ(sync().exitStatus, 0);
    EXPECT_EQ(execLine(), thumbnailerLine(3, "1,2,3"));
    installGenerator(home_.path() + "/Library", "9", "RGB(9)");  // out of the list, and short
    ASSERT_EQ(sync().exitStatus, 0);
    EXPECT_EQ(execLine(), thumbnailerLine(0, "9,0,0")) << "as the pane shows it: the first skin, the parts that are there";

    fs::remove_all(home_.path() + "/Library");
    fs::remove_all("/Library");
    const std::string cached = cacheEntry("normal", "a", "file:///somewhere/brochure.qxd");
    ASSERT_EQ(sync().exitStatus, 0);
    EXPECT_EQ(execLine().rfind("/usr/bin/false", 0), 0u) << "thumbnails stop with the product: " << execLine();
    EXPECT_FALSE(fs::exists(cached));
}

}  // namespace
