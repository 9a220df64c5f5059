// The programs as an install leaves them, run from where they landed: the preview and the search,
// and the desktop files, read and started by GLib as the desktops do.
#include "PrivateRuntimeFolder.h"

#include <ChildProcess.h>
#include <TemporaryFolder.h>

#include <gio/gdesktopappinfo.h>
#include <glib.h>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& text)
{
    g_autofree gchar* quoted = g_shell_quote(text.c_str());
    return quoted;
}

// A string key of a desktop file as GLib's key file reader returns it.
std::string KeyValue(const std::string& file, const char* group, const char* key)
{
    g_autoptr(GKeyFile) keys = g_key_file_new();
    g_key_file_load_from_file(keys, file.c_str(), G_KEY_FILE_NONE, nullptr);
    g_autofree gchar* value = g_key_file_get_string(keys, group, key, nullptr);
    return value ? value : "";
}

// The command a .thumbnailer gives for one document, made as Tumbler and GNOME make it: the Exec
// value with its field codes filled in (values quoted, "%%" a percent sign), split by GLib.
std::vector<std::string> ThumbnailerCommand(const std::string& file, const std::string& input, const std::string& output)
{
    const std::string exec = KeyValue(file, "Thumbnailer Entry", "Exec");
    std::string line;
    for (size_t at = 0; at < exec.size(); ++at) {
        if (exec[at] != '%' || at + 1 == exec.size()) {
            line += exec[at];
            continue;
        }
        switch (exec[++at]) {
        case 's': line += "256"; break;
        case 'u': line += Quoted("file://" + input); break;
        case 'i': line += Quoted(input); break;
        case 'o': line += Quoted(output); break;
        case '%': line += '%'; break;
        }
    }
    g_auto(GStrv) argv = nullptr;
    if (!g_shell_parse_argv(line.c_str(), nullptr, &argv, nullptr))
        return {};
    return std::vector<std::string>(argv, argv + g_strv_length(argv));
}

struct Launch {
    bool loaded = false;                 // GLib took the entry (TryExec and the Exec program found)
    std::vector<std::string> arguments;  // what the program was started with, while it ran
    int exitStatus = -1;                 // when it ended by itself
};

// Starts a desktop entry as the desktop does, through GLib, with file for its field code and home
// as the home folder. A program that ends by itself is waited for; another is caught while it
// runs, then ended.
Launch LaunchEntry(const std::string& entry, const std::string& file, const std::string& home, const std::string& program,
                   bool endsByItself)
{
    Launch launch;
    g_autoptr(GDesktopAppInfo) info = g_desktop_app_info_new_from_filename(entry.c_str());
    if (!info)
        return launch;
    launch.loaded = true;
    g_autoptr(GAppLaunchContext) context = g_app_launch_context_new();
    g_app_launch_context_setenv(context, "HOME", home.c_str());
    g_app_launch_context_setenv(context, "XDG_DATA_HOME", (home + "/.local/share").c_str());
    GList* uris = file.empty() ? nullptr : g_list_append(nullptr, g_filename_to_uri(file.c_str(), nullptr, nullptr));
    GPid pid = 0;
    const gboolean started = g_desktop_app_info_launch_uris_as_manager(
        info, uris, context, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr,
        [](GDesktopAppInfo*, GPid child, gpointer out) { *static_cast<GPid*>(out) = child; }, &pid, nullptr);
    g_list_free_full(uris, g_free);
    if (!started || pid <= 0)
        return launch;

    // GLib's launch helper, and env, give way to the program in the same process.
    const std::string proc = "/proc/" + std::to_string(pid);
    int status = 0;
    // Up to 20 s: a busy machine once took over 5 s to get there.
    for (int tries = 0; tries < 2000 && !endsByItself; ++tries) {
        std::error_code ignored;
        if (fs::read_symlink(proc + "/exe", ignored) == fs::path(program)) {
            std::string cmdline = ReadWholeFile(proc + "/cmdline");
            for (size_t start = 0, end; (end = cmdline.find('\0', start)) != std::string::npos; start = end + 1)
                launch.arguments.push_back(cmdline.substr(start, end - start));
            kill(pid, SIGTERM);
            break;
        }
        if (waitpid(pid, &status, WNOHANG) == pid)
            return launch;  // ended before it was caught
        usleep(10000);
    }
    if (!endsByItself && launch.arguments.empty())
        kill(pid, SIGTERM);
    if (waitpid(pid, &status, 0) == pid && endsByItself)
        launch.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return launch;
}

// Desktop entries validate as the freedesktop tools read them, and GLib takes and starts them.
void ExpectDesktopEntriesStart(const std::string& home, const std::string& sample)
{
    const std::string bin = home + "/" BINDIR "/", applications = home + "/" DATADIR "/applications/";
    const struct {
        std::string file;
        std::string document;  // for the entry's field code
        std::vector<std::string> arguments;
    } entries[] = {
        {applications + "com.brimwell.orvella.desktop", "", {bin + "prefhost", "--installed", "Orvella.prefPane"}},
        {applications + "foliotta-preview.desktop", sample, {bin + "foliotta-preview", sample}},
        {home + "/etc/xdg/autostart/foliotta-sync-thumbnailer.desktop", "", {}},  // ends by itself
    };
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.file);
        const ChildResult validation = RunChild({"desktop-file-validate", entry.file});
        EXPECT_EQ(validation.exitStatus, 0) << validation.standardOutput;
        EXPECT_EQ(validation.standardOutput, "");
        const std::string program = KeyValue(entry.file, "Desktop Entry", "TryExec");
        EXPECT_TRUE(fs::is_regular_file(program)) << program;
        const Launch launch = LaunchEntry(entry.file, entry.document, home, program, entry.arguments.empty());
        ASSERT_TRUE(launch.loaded) << "GLib does not take the entry: " << ReadWholeFile(entry.file);
        EXPECT_EQ(launch.arguments, entry.arguments);
        if (entry.arguments.empty()) {
            EXPECT_EQ(launch.exitStatus, 0);
        }
    }

    // The installed thumbnailer, and the one the settings step (started above) wrote for this user.
    for (const std::string& thumbnailer : {home + "/" DATADIR "/thumbnailers/foliotta.thumbnailer",
                                           home + "/.local/share/thumbnailers/foliotta.thumbnailer"}) {
        SCOPED_TRACE(thumbnailer);
        EXPECT_EQ(KeyValue(thumbnailer, "Thumbnailer Entry", "TryExec"), bin + "foliotta-thumbnailer");
        const std::string output = home + "/thumbnail.png";
        fs::remove(output);
        const std::vector<std::string> command = ThumbnailerCommand(thumbnailer, sample, output);
        ASSERT_FALSE(command.empty()) << ReadWholeFile(thumbnailer);
        EXPECT_EQ(command.front(), bin + "foliotta-thumbnailer");
        const ChildResult run = RunChild(command);
        EXPECT_EQ(run.exitStatus, 0) << run.standardError;
        EXPECT_TRUE(fs::is_regular_file(output));
    }
}

// A user's install (`make install-user`: the prefix is the home folder), here into a home folder
// whose name has a blank and a percent sign, and a package's staged /usr tree.
TEST(FoliottaInstall, TheInstalledProgramsRunFromWhereTheInstallPutThem)
{
    TemporaryFolder base("foliotta-install");
    const std::string home = base.path() + "/My Apps 100%", stage = base.path() + "/stage";
    const std::string sample = std::string(SAMPLES) + "/colors.qxd";
    for (const auto& [prefix, stagedRoot] : {std::pair<std::string, std::string>{home, ""}, {"/usr", stage}}) {
        SCOPED_TRACE(prefix);
        const ChildResult install = RunChild({CMAKE_COMMAND, "--install", BUILD_DIR, "--prefix", prefix},
                                             {{"DESTDIR", stagedRoot.empty() ? std::nullopt : std::optional(stagedRoot)}});
        ASSERT_EQ(install.exitStatus, 0) << install.standardOutput << install.standardError;
        const std::string root = stagedRoot + prefix;

        const std::string extractorFolder = root + "/" LIBDIR "/libexec/kf5/kfilemetadata/externalextractors/foliotta-quarkxpress";
        EXPECT_TRUE(fs::is_regular_file(extractorFolder + "/manifest.json"));
        EXPECT_FALSE(fs::exists(extractorFolder + "/qxpextract")) << "the build tree's link is not installed";
        const ChildResult search = RunChild({extractorFolder + "/foliotta-search"}, {},
                                            R"({"path": ")" + sample + R"(", "mimetype": "application/vnd.quark.quarkxpress"})");
        EXPECT_NE(search.standardOutput.find(R"("generator":"QuarkXPress 4.0")"), std::string::npos) << search.standardOutput;

        const std::string png = base.path() + "/installed-preview.png";
        const ChildResult preview = RunChild({root + "/" BINDIR "/foliotta-preview", sample, "--png", png}, {{"HOME", home}});
        EXPECT_EQ(preview.exitStatus, 0) << preview.standardError;
        EXPECT_GT(fs::file_size(png), 10000u) << "a page and its facts, not only a message";
        fs::remove(png);
    }
    ExpectDesktopEntriesStart(home, sample);
    // Where no quoting is needed the desktop entry names the program as it stands.
    const std::string desktopEntry = ReadWholeFile(stage + "/usr/" DATADIR "/applications/foliotta-preview.desktop");
    EXPECT_NE(desktopEntry.find("\nExec=/usr/" BINDIR "/foliotta-preview %f\n"), std::string::npos) << desktopEntry;
    EXPECT_NE(desktopEntry.find("\nMimeType=application/vnd.quark.quarkxpress;\n"), std::string::npos);
}

}  // namespace

static ::testing::Environment* const privateRuntime = ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder());
