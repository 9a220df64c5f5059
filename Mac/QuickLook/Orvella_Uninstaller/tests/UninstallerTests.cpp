// Orvella_Uninstaller end to end: each case runs the real program inside a private mount
// namespace with its own /Library and a home folder with blanks. No one can see its alert there, so
// the program answers it by its only button and says so on standard error.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "PrivateRootCase.h"

#include <TemporaryFolder.h>
#include "PrivatePolkit.h"
#include "StandInSudo.h"

namespace fs = std::filesystem;

namespace {

const char* const kSystemGenerator = "/Library/QuickLook/Foliotta.qlgenerator";
const char* const kSystemPane = "/Library/PreferencePanes/Orvella.prefPane";

struct Installation {
    bool userGenerator = false;
    bool userPane = false;
    bool systemGenerator = false;
    bool systemPane = false;
};

struct Outcome {
    int exitStatus = -1;
    std::string alerts;
    std::string log;
    Installation left;
};

class Uninstaller : public PrivateRootCase {
protected:
    void SetUp() override
    {
        PrivateRootCase::SetUp();
        if (IsSkipped())
            return;
        fs::permissions(scratch, fs::perms::all);
        writeStandInSudo(scratch);
    }

    fs::path userGenerator() const { return home / "Library/QuickLook/Foliotta.qlgenerator"; }
    fs::path userPane() const { return home / "Library/PreferencePanes/Orvella.prefPane"; }

    // Lays out the bundles, runs the uninstaller in the namespace (the lines of `asWho` prepared
    // there first) and reports what it showed and what is left.
    Outcome run(const Installation& installation, const std::string& launcher = "",
                const std::string& preparation = "")
    {
        if (installation.userGenerator)
            fs::create_directories(userGenerator() / "Contents/Resources");
        if (installation.userPane)
            fs::create_directories(userPane() / "Contents/Resources/Orvella_Uninstaller.app");

        for (const char* marker : {"status", "system generator left", "system pane left"})
            fs::remove(scratch / marker);
        std::ostringstream script;
        script << "cd /\n";
        if (installation.systemGenerator)
            script << "mkdir -p " << kSystemGenerator << "/Contents/Resources\n";
        if (installation.systemPane)
            script << "mkdir -p " << kSystemPane << "/Contents/MacOS\n";
        script << preparation << "\n"
               << "env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=\"$CASE_HOME\" QT_QPA_PLATFORM=offscreen"
               << " STANDIN_SUDO_DIR=\"$CASE_DIR\" STANDIN_SUDO_PASSWORD=secret"
               << " STANDIN_ASKPASS_ANSWERS=\"$CASE_ANSWER\" DISPLAY=\"$CASE_DISPLAY\" ASAN_OPTIONS=\"$ASAN_OPTIONS\" LSAN_OPTIONS=\"$LSAN_OPTIONS\""
               << " UBSAN_OPTIONS=\"$UBSAN_OPTIONS\" " << launcher << " '" << UNINSTALLER_PROGRAM << "'\n"
               << "echo $? > \"$CASE_DIR/status\"\n"
               << "[ -e " << kSystemGenerator << " ] && touch \"$CASE_DIR/system generator left\"\n"
               << "[ -e " << kSystemPane << " ] && touch \"$CASE_DIR/system pane left\"\n"
               << "exit 0\n";
        const ChildResult child = runInPrivateRoot(script.str(), {{"CASE_ANSWER", answer}, {"CASE_DISPLAY", display}});

        Outcome outcome;
        const std::string status = ReadWholeFile((scratch / "status").string());
        outcome.exitStatus = status.empty() ? -1 : std::stoi(status);
        outcome.alerts = AlertLines(child.standardError);
        outcome.log = child.standardError;
        outcome.left = {fs::exists(userGenerator()), fs::exists(userPane()), fs::exists(scratch / "system generator left"),
                        fs::exists(scratch / "system pane left")};
        return outcome;
    }

    // A home with an empty Library, no stand-in sudo log and no password it kept.
    void startAfresh()
    {
        fs::remove_all(home);
        fs::create_directories(home / "Library");
        fs::remove(scratch / "log");
        for (const auto& entry : fs::directory_iterator(scratch))
            if (entry.path().filename().string().starts_with("stamp-"))
                fs::remove(entry.path());
    }

    std::string answer = "secret";
    std::string display = ":orvella-test";  // the answering dialog draws offscreen whatever it names
};

const std::string kAsNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";

} // namespace

// Through sudo: which copies go, and what is reported, for each installation and each way the
// right or the removal can fail.
TEST_F(Uninstaller, throughSudoRemovesWhatIsInstalledAndReportsTheOutcome)
{
    const struct {
        const char* name;
        Installation installed;
        Installation left;
        std::string alert;
        std::string launcher = "";
        std::string preparation = "";
        std::string logLine = "";
        std::string answer = "secret";
    } cases[] = {
        {"both roots: the user's copies go", {true, true, true, true}, {false, false, true, true}, kUninstalledAlert},
        {"system generator, user's pane", {false, true, true, false}, {}, kUninstalledAlert},
        {"system copies only", {false, false, true, true}, {}, kUninstalledAlert},
        {"no generator: the pane still goes", {false, true, false, false}, {}, kUninstallFailedAlert},
        {"no pane: the generator still goes", {false, false, true, false}, {}, kUninstallFailedAlert},
        {"nothing installed", {}, {}, kUninstallFailedAlert},
        {"no authorization", {true, true, false, false}, {true, true, false, false}, kUninstallFailedAlert, "", "rm /usr/bin/sudo",
         "Error Creating Initial Authorization: -60008"},
        {"refused password", {true, true, true, true}, {true, true, true, true}, kUninstallFailedAlert, kAsNobody,
         installStandIns(scratch), "Copy Rights Unsuccessful: -60005", "wrong"},
        // The stand-in sudo runs rm as the ordinary user, who cannot remove root's system generator.
        {"a bundle left behind", {false, true, true, false}, {false, false, true, false}, kUninstallFailedAlert, kAsNobody,
         "chown -R 65534:65534 \"$CASE_HOME\"\n" + installStandIns(scratch)},
        {"no removal tool", {true, true, false, false}, {true, true, false, false}, kUninstallFailedAlert, "",
         "mv /bin/rm /bin/rm.moved-away"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        startAfresh();
        answer = each.answer;
        const Outcome outcome = run(each.installed, each.launcher, each.preparation);

        EXPECT_EQ(outcome.exitStatus, 0);
        EXPECT_EQ(outcome.alerts, each.alert) << outcome.log;
        EXPECT_EQ(CountOccurrences(outcome.log, each.logLine.empty() ? "Unsuccessful" : each.logLine),
                  each.logLine.empty() ? 0 : 1) << outcome.log;
        EXPECT_EQ(outcome.left.userGenerator, each.left.userGenerator);
        EXPECT_EQ(outcome.left.userPane, each.left.userPane);
        EXPECT_EQ(outcome.left.systemGenerator, each.left.systemGenerator);
        EXPECT_EQ(outcome.left.systemPane, each.left.systemPane);
        EXPECT_EQ(fs::exists(home / "Library/QuickLook"), each.installed.userGenerator) << "only the bundle goes, not its folder";
    }
}

// Through polkit, as on a desktop that has it: the agent's answer decides, the alerts are today's,
// and where no agent answers the sudo path takes over with its own dialog.
TEST_F(Uninstaller, throughPolkitTheAgentsAnswerDecidesAndTheAlertsStayTheSame)
{
    const std::string agentLog = (scratch / "agent").string();
    const std::string asked = "asked com.brimwell.orvella.administer by Orvella_Uninstaller\n";
    const struct {
        const char* name;
        std::string launcher;
        std::string display;
        std::string alert;
        std::string logLine;
        std::string agentRequests;
        bool removed;
        bool sudoAsked;
        std::string preparation = "";
    } cases[] = {
        {"right password", withPolkitAgent(agentLog, kPolkitAdministratorPassword) + kAsPolkitUser, "", kUninstalledAlert,
         "", asked, true, false},
        {"wrong password", withPolkitAgent(agentLog, "guess") + kAsPolkitAdministrator, "", kUninstallFailedAlert,
         "Copy Rights Unsuccessful: -60005", asked, false, false},
        {"cancelled", withPolkitAgent(agentLog, "cancel") + kAsPolkitUser, "", kUninstallFailedAlert,
         "Copy Rights Unsuccessful: -60006", asked, false, false},
        {"as root", withPolkitAgent(agentLog, kPolkitAdministratorPassword), "", kUninstalledAlert, "", "", true, false},
        {"no agent, no display", kAsPolkitUser, "", kUninstallFailedAlert, "Copy Rights Unsuccessful: -60007", "", false, false},
        // The stand-in sudo runs rm as the user, who cannot remove root's bundles.
        {"no agent, sudo's dialog", kAsPolkitUser, ":orvella-test", kUninstallFailedAlert, "", "", false, true},
        {"without the action file, sudo's dialog", withPolkitAgent(agentLog, kPolkitAdministratorPassword) + kAsPolkitUser,
         ":orvella-test", kUninstallFailedAlert, "", "", false, true, "rm /usr/share/polkit-1/actions/com.brimwell.orvella.policy\n"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        fs::remove(agentLog);
        startAfresh();
        display = each.display;
        const Outcome outcome =
            run({true, false, false, true}, each.launcher, startPrivatePolkit() + installStandIns(scratch) + each.preparation);

        EXPECT_EQ(outcome.alerts, each.alert) << outcome.log;
        EXPECT_EQ(CountOccurrences(outcome.log, "Copy Rights Unsuccessful"), each.logLine.empty() ? 0 : 1) << outcome.log;
        EXPECT_TRUE(each.logLine.empty() || CountOccurrences(outcome.log, each.logLine) == 1) << outcome.log;
        EXPECT_EQ(ReadWholeFile(agentLog), each.agentRequests);
        EXPECT_EQ(outcome.left.userGenerator, !each.removed);
        EXPECT_EQ(outcome.left.systemPane, !each.removed);
        EXPECT_EQ(CountOccurrences(ReadWholeFile((scratch / "log").string()), "sudo -A -v"), each.sudoAsked ? 1 : 0);
    }
}
