// The runner's whole sequence in a child process: as root through the real sudo, and as an
// ordinary user through a sudo stand-in whose password dialog is answered by its driver.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <ChildProcess.h>
#include <TemporaryFolder.h>
#include "StandInSudo.h"

namespace fs = std::filesystem;

namespace {

class PrivilegedCommandRunnerRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root to run the probe as another user";
        char pattern[] = "/tmp/runner test XXXXXX";
        folder = mkdtemp(pattern);
        fs::permissions(folder, fs::perms::all);
        fs::create_directory(folder / "bin");
        writeStandInSudo(folder / "bin");
    }
    void TearDown() override
    {
        if (!folder.empty())
            fs::remove_all(folder);
    }

    // As root, with this machine's sudo.
    ChildResult runAsRoot(std::vector<std::string> steps, const std::string& path = "/usr/sbin:/usr/bin:/sbin:/bin")
    {
        steps.insert(steps.begin(), RUNNER_PROBE);
        auto environment = InheritedDiagnostics();
        environment["PATH"] = path;
        return RunChildInEnvironment(steps, environment);
    }

    // As the unprivileged user "nobody", with the stand-in sudo and the dialog answered as given.
    ChildResult runAsUser(std::vector<std::string> steps, const std::string& answer, bool display = true)
    {
        steps.insert(steps.begin(), {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--", RUNNER_PROBE});
        auto environment = InheritedDiagnostics();
        environment["PATH"] = (folder / "bin").string() + ":/usr/bin:/bin";
        environment["HOME"] = folder.string();
        environment["STANDIN_SUDO_DIR"] = folder.string();
        environment["STANDIN_SUDO_PASSWORD"] = "open sesame";
        environment["ORVELLA_ASKPASS_ANSWER"] = answer;
        if (display)
            environment["QT_QPA_PLATFORM"] = "offscreen";
        return RunChildInEnvironment(steps, environment);
    }

    std::string sudoLog() const { return ReadWholeFile((folder / "log").string()); }

    fs::path folder;
};

} // namespace

TEST_F(PrivilegedCommandRunnerRun, grantedToRootThroughTheRealSudoCopiesAndRemovesPathsWithBlanks)
{
    const fs::path source = folder / "Source Folder.app";
    fs::create_directories(source / "Contents");
    std::ofstream(source / "Contents" / "Info.plist") << "plist";
    const fs::path destination = folder / "copy target";
    fs::create_directory(destination);

    const ChildResult result = runAsRoot({"create", "acquire", "run", "/bin/cp", "-r", source.string(),
                                          destination.string(), "--end", "wait", "run", "/bin/rm", "-rf",
                                          source.string(), "--end", "wait", "free"});

    EXPECT_EQ(result.standardOutput, "create 0\nacquire 0\nrun 0\nwait 1\nrun 0\nwait 1\nfree\n") << result.standardError;
    EXPECT_TRUE(fs::exists(destination / "Source Folder.app" / "Contents" / "Info.plist"));
    EXPECT_FALSE(fs::exists(source));
    EXPECT_EQ(result.standardError.find("Unsuccessful"), std::string::npos);
}

TEST_F(PrivilegedCommandRunnerRun, aMissingArgumentPathStillStartsTheToolButAMissingToolDoesNot)
{
    const ChildResult result = runAsRoot({"create", "acquire", "run", "/bin/rm", "-rf",
                                          (folder / "not there").string(), "--end", "wait", "run",
                                          "/bin/no-such-tool", "--end"});

    EXPECT_EQ(result.standardOutput, "create 0\nacquire 0\nrun 0\nwait 1\nrun -60031\n");
}

TEST_F(PrivilegedCommandRunnerRun, anAuthorizationThatCannotBeMadeIsLogged)
{
    const ChildResult result = runAsRoot({"create"}, (folder / "empty").string());

    EXPECT_EQ(result.standardOutput, "create -60008\n");
    EXPECT_EQ(CountOccurrences(result.standardError, "Error Creating Initial Authorization: -60008\n"), 1);
}

TEST_F(PrivilegedCommandRunnerRun, oneGrantServesTwoToolStartsWithoutAskingAgain)
{
    const fs::path first = folder / "first file";
    const fs::path second = folder / "second file";

    const ChildResult result = runAsUser({"create", "acquire", "run", "/usr/bin/touch", first.string(), "--end",
                                          "wait", "run", "/usr/bin/touch", second.string(), "--end", "wait"},
                                         "open sesame");

    EXPECT_EQ(result.standardOutput, "create 0\nacquire 0\nrun 0\nwait 1\nrun 0\nwait 1\n") << result.standardError;
    EXPECT_TRUE(fs::exists(first));
    EXPECT_TRUE(fs::exists(second));
    EXPECT_EQ(CountOccurrences(sudoLog(), "sudo -A -v"), 1) << sudoLog();
    EXPECT_EQ(CountOccurrences(sudoLog(), "sudo -n -- /usr/bin/touch"), 2);
}

TEST_F(PrivilegedCommandRunnerRun, aRefusedPasswordIsLoggedAndNoToolRuns)
{
    const fs::path made = folder / "made";

    const ChildResult result =
        runAsUser({"create", "acquire", "run", "/usr/bin/touch", made.string(), "--end"}, "wrong guess");

    EXPECT_EQ(result.standardOutput, "create 0\nacquire -60005\nrun -60005\n") << result.standardError;
    EXPECT_EQ(CountOccurrences(result.standardError, "Copy Rights Unsuccessful: -60005\n"), 1) << result.standardError;
    EXPECT_FALSE(fs::exists(made));
}

TEST_F(PrivilegedCommandRunnerRun, aCancelledDialogIsLoggedAsCancelled)
{
    const ChildResult result = runAsUser({"create", "acquire"}, "cancel");

    EXPECT_EQ(result.standardOutput, "create 0\nacquire -60006\n") << result.standardError;
    EXPECT_EQ(CountOccurrences(result.standardError, "Copy Rights Unsuccessful: -60006\n"), 1) << result.standardError;
}

TEST_F(PrivilegedCommandRunnerRun, withoutADisplayNoDialogIsShown)
{
    const ChildResult result = runAsUser({"create", "acquire"}, "open sesame", false);

    EXPECT_EQ(result.standardOutput, "create 0\nacquire -60007\n") << result.standardError;
    EXPECT_EQ(CountOccurrences(sudoLog(), "sudo -A"), 0);
}

TEST_F(PrivilegedCommandRunnerRun, freeingTheAuthorizationGivesUpTheRight)
{
    const fs::path made = folder / "made";

    const ChildResult result = runAsUser(
        {"create", "acquire", "free", "create", "run", "/usr/bin/touch", made.string(), "--end"}, "open sesame");

    EXPECT_EQ(result.standardOutput, "create 0\nacquire 0\nfree\ncreate 0\nrun -60005\n") << result.standardError;
    EXPECT_EQ(CountOccurrences(sudoLog(), "sudo -k"), 1);
    EXPECT_FALSE(fs::exists(made));
}
