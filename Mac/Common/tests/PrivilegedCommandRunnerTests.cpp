// The runner's whole sequence in a child process inside a private root: as root through the real
// sudo, as a private administrator through the real sudo and the real (self-answering) password
// dialog, and as an ordinary user through a sudo stand-in.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <TemporaryFolder.h>
#include "PrivateRootCase.h"
#include "StandInSudo.h"

namespace fs = std::filesystem;

namespace {

const std::string kNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups --";

// A private user who may use sudo with a password, a private sudo state, and no trace of either
// outside the private root.
const std::string kPrivateAdministrator =
    "useradd --no-create-home --home-dir /nonexistent --shell /bin/sh orvella-admin\n"
    "echo 'orvella-admin:open sesame' | chpasswd\n"
    "echo 'orvella-admin ALL=(ALL:ALL) ALL' > /etc/sudoers.d/orvella-admin && chmod 440 /etc/sudoers.d/orvella-admin\n"
    "mount -t tmpfs private-run /run\n";
const std::string kAsAdministrator = "setpriv --reuid=orvella-admin --regid=orvella-admin --init-groups --";

const std::string kReason = "\u201Crunner-probe\u201D wants to make changes.";
const std::string kWrongPassword = "Sorry, that password was wrong. Try again.";

class PrivilegedCommandRunnerRun : public PrivateRootCase {
protected:
    void SetUp() override
    {
        PrivateRootCase::SetUp();
        if (IsSkipped())
            return;
        fs::permissions(scratch, fs::perms::all);
        writeStandInSudo(scratch);
    }

    // Runs the probe with the steps in a private root, after the preparation lines there, as the
    // user that `asWho` (a setpriv command, or nothing for root) makes it.
    ChildResult runProbe(const std::string& preparation, const std::string& asWho, const std::vector<std::string>& steps,
                         std::map<std::string, std::string> environment = {})
    {
        environment["HOME"] = scratch.string();
        environment["QT_QPA_PLATFORM"] = "offscreen";  // draws nowhere: no display by itself
        environment["STANDIN_SUDO_DIR"] = scratch.string();
        environment["STANDIN_SUDO_PASSWORD"] = "open sesame";
        environment["STANDIN_ASKPASS_LOG"] = (scratch / "dialogs").string();
        std::vector<std::string> arguments = {RUNNER_PROBE};
        arguments.insert(arguments.end(), steps.begin(), steps.end());
        return runInPrivateRoot("set -e\n" + preparation + "exec " + asWho + " \"$@\"\n", environment, arguments);
    }

    // As the unprivileged user "nobody", with the stand-in sudo and the dialog answered as given.
    ChildResult runAsUser(const std::vector<std::string>& steps, const std::string& answers, bool display = true)
    {
        std::map<std::string, std::string> environment = {{"STANDIN_ASKPASS_ANSWERS", answers}};
        if (display)
            environment["DISPLAY"] = ":orvella-test";
        return runProbe(installStandIns(scratch), kNobody, steps, environment);
    }

    std::string sudoLog() const { return ReadWholeFile((scratch / "log").string()); }
    std::string dialogLog() const { return ReadWholeFile((scratch / "dialogs").string()); }
};

} // namespace

TEST_F(PrivilegedCommandRunnerRun, grantedToRootThroughTheRealSudoCopiesAndRemovesPathsWithBlanks)
{
    const fs::path source = scratch / "Source Folder.app";
    fs::create_directories(source / "Contents");
    std::ofstream(source / "Contents" / "Info.plist") << "plist";
    const fs::path destination = scratch / "copy target";
    fs::create_directory(destination);

    const ChildResult result = runProbe("", "", {"create", "acquire", "run", "/bin/cp", "-r", source.string(), destination.string(),
                                                  "--end", "wait", "run", "/bin/rm", "-rf", source.string(), "--end", "wait", "free"});

    EXPECT_EQ(result.standardOutput, "create 0\nacquire 0\nrun 0\nwait 1\nrun 0\nwait 1\nfree\n") << result.standardError;
    EXPECT_TRUE(fs::exists(destination / "Source Folder.app" / "Contents" / "Info.plist"));
    EXPECT_FALSE(fs::exists(source));
    EXPECT_EQ(result.standardError.find("Unsuccessful"), std::string::npos);
}

TEST_F(PrivilegedCommandRunnerRun, withoutTheSystemsSudoNoAuthorizationIsMadeWhateverPathHolds)
{
    // A sudo elsewhere on PATH is not taken in its place.
    const ChildResult result =
        runProbe("mkdir -p /opt/elsewhere && mv /usr/bin/sudo /opt/elsewhere/sudo\nexport PATH=/opt/elsewhere:$PATH\n", "", {"create"});

    EXPECT_EQ(result.standardOutput, "create -60008\n") << result.standardError;
    EXPECT_EQ(CountOccurrences(result.standardError, "Error Creating Initial Authorization: -60008\n"), 1);
}

TEST_F(PrivilegedCommandRunnerRun, aPrivateAdministratorThroughTheRealSudoIsAskedOnceAndTheToolRunsAsRoot)
{
    const fs::path made = scratch / "made by root";

    const ChildResult result = runProbe(kPrivateAdministrator + installAnsweringAskpass(), kAsAdministrator,
                                        {"create", "acquire", "run", "/usr/bin/touch", made.string(), "--end", "wait",
                                         "run", "/usr/bin/touch", made.string(), "--end", "wait", "free"},
                                        {{"DISPLAY", ":orvella-test"}, {"STANDIN_ASKPASS_ANSWERS", "open sesame"}});

    EXPECT_EQ(result.standardOutput, "create 0\nacquire 0\nrun 0\nwait 1\nrun 0\nwait 1\nfree\n") << result.standardError;
    struct stat madeStatus = {};
    ASSERT_EQ(stat(made.c_str(), &madeStatus), 0);
    EXPECT_EQ(madeStatus.st_uid, 0u);
    EXPECT_EQ(CountOccurrences(dialogLog(), kReason), 1) << dialogLog();
}

TEST_F(PrivilegedCommandRunnerRun, aWrongPasswordIsSaidInTheNextDialogAndThreeRefuseTheRight)
{
    struct Case {
        const char* name;
        std::string preparation;
        std::string asWho;
    };
    const Case cases[] = {
        {"real sudo", kPrivateAdministrator + installAnsweringAskpass(), kAsAdministrator},
        {"stand-in sudo", installStandIns(scratch), kNobody},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        fs::remove(scratch / "dialogs");
        const fs::path made = scratch / "made";

        const ChildResult refused =
            runProbe(each.preparation, each.asWho, {"create", "acquire", "run", "/usr/bin/touch", made.string(), "--end"},
                     {{"DISPLAY", ":orvella-test"}, {"STANDIN_ASKPASS_ANSWERS", "wrong guess"}});

        EXPECT_EQ(refused.standardOutput, "create 0\nacquire -60005\nrun -60005\n") << refused.standardError;
        EXPECT_EQ(CountOccurrences(refused.standardError, "Copy Rights Unsuccessful: -60005\n"), 1);
        EXPECT_FALSE(fs::exists(made));
        EXPECT_EQ(CountOccurrences(dialogLog(), kReason), 3) << dialogLog();
        EXPECT_EQ(CountOccurrences(dialogLog(), kWrongPassword), 2) << dialogLog();

        fs::remove(scratch / "dialogs");
        const ChildResult second = runProbe(each.preparation, each.asWho, {"create", "acquire"},
                                            {{"DISPLAY", ":orvella-test"}, {"STANDIN_ASKPASS_ANSWERS", "typo|open sesame"}});
        EXPECT_EQ(second.standardOutput, "create 0\nacquire 0\n") << second.standardError;
        EXPECT_EQ(CountOccurrences(dialogLog(), kWrongPassword), 1) << dialogLog();
    }
}

TEST_F(PrivilegedCommandRunnerRun, oneGrantServesTwoToolStartsWithoutAskingAgain)
{
    const fs::path first = scratch / "first file";
    const fs::path second = scratch / "second file";

    const ChildResult result = runAsUser({"create", "acquire", "run", "/usr/bin/touch", first.string(), "--end",
                                          "wait", "run", "/usr/bin/touch", second.string(), "--end", "wait"},
                                         "open sesame");

    EXPECT_EQ(result.standardOutput, "create 0\nacquire 0\nrun 0\nwait 1\nrun 0\nwait 1\n") << result.standardError;
    EXPECT_TRUE(fs::exists(first));
    EXPECT_TRUE(fs::exists(second));
    EXPECT_EQ(CountOccurrences(sudoLog(), "sudo -A -v"), 1) << sudoLog();
    EXPECT_EQ(CountOccurrences(sudoLog(), "sudo -n -- /usr/bin/touch"), 2);
}

TEST_F(PrivilegedCommandRunnerRun, aCancelledDialogIsLoggedAsCancelled)
{
    const ChildResult result = runAsUser({"create", "acquire"}, "cancel");

    EXPECT_EQ(result.standardOutput, "create 0\nacquire -60006\n") << result.standardError;
    EXPECT_EQ(CountOccurrences(result.standardError, "Copy Rights Unsuccessful: -60006\n"), 1) << result.standardError;
}

TEST_F(PrivilegedCommandRunnerRun, withoutADisplayTheRightIsRefusedAtOnceAndNoDialogIsShown)
{
    // Qt's offscreen platform is set but draws nowhere.
    const ChildResult result = runAsUser({"create", "acquire"}, "open sesame", false);

    EXPECT_EQ(result.standardOutput, "create 0\nacquire -60007\n") << result.standardError;
    EXPECT_EQ(CountOccurrences(sudoLog(), "sudo -A"), 0);
    EXPECT_EQ(dialogLog(), "");
}

TEST_F(PrivilegedCommandRunnerRun, freeingTheAuthorizationGivesUpTheRight)
{
    const fs::path made = scratch / "made";

    const ChildResult result = runAsUser(
        {"create", "acquire", "free", "create", "run", "/usr/bin/touch", made.string(), "--end"}, "open sesame");

    EXPECT_EQ(result.standardOutput, "create 0\nacquire 0\nfree\ncreate 0\nrun -60005\n") << result.standardError;
    EXPECT_EQ(CountOccurrences(sudoLog(), "sudo -k"), 1);
    EXPECT_FALSE(fs::exists(made));
}
