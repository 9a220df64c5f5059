// The pane's uninstall action through a real pane bundle and its real uninstaller, each case in
// a private mount namespace with its own /temp and /Library and a home folder with blanks.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "PrivateRootCase.h"

#include <TemporaryFolder.h>
#include "PrivatePolkit.h"

namespace fs = std::filesystem;

namespace {

const std::string kConfirmYes = "UnInstall!\tDo you want to un-install the product?\t1\tYes|Cancel\tYes\n";
const std::string kConfirmCancel = "UnInstall!\tDo you want to un-install the product?\t1\tYes|Cancel\tCancel\n";
const std::string kHandOffFailed = "UnInstall Failed!\t\t1\tOk\tOk\n";

struct CaseResult {
    ChildResult namespaceRun;
    std::string alerts;
    std::string probeOutput;
};

class HandOff : public PrivateRootCase {
protected:
    // Shell text that runs the probe on the pane with the given alert answers and PATH. What the
    // probe and the uninstaller it starts print on standard error goes to "errors".
    static std::string pressUninstall(const std::string& pane, const std::string& answers,
                                      const std::string& path = "/usr/sbin:/usr/bin:/sbin:/bin",
                                      const std::string& probe = "'" HANDOFF_PROBE "'")
    {
        return "env -i PATH='" + path + "' HOME=\"$CASE_HOME\" QT_QPA_PLATFORM=offscreen NSALERT_ANSWERS='" + answers +
               "' NSALERT_LOG=\"$CASE_DIR/alerts\" ASAN_OPTIONS=\"$ASAN_OPTIONS\" LSAN_OPTIONS=\"$LSAN_OPTIONS\"" +
               " UBSAN_OPTIONS=\"$UBSAN_OPTIONS\" " + probe + " \"" + pane + "\" >> \"$CASE_DIR/probe\" 2>> \"$CASE_DIR/errors\"\n";
    }

    // Shell text that waits (at most 30 s) until that many alerts have been answered.
    static std::string awaitAlerts(int count)
    {
        return "i=0; while [ \"$( (cat \"$CASE_DIR/alerts\"; grep '^NSAlert: ' \"$CASE_DIR/errors\") 2>/dev/null | wc -l)\" -lt " +
               std::to_string(count) +
               " ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i+1)); done; sleep 0.3\n";
    }

    CaseResult runCase(const std::string& body)
    {
        CaseResult result;
        result.namespaceRun = runInPrivateRoot("cd /\n" + body + "exit 0\n");
        const std::string errors = ReadWholeFile((scratch / "errors").string());
        result.namespaceRun.standardError += errors;
        result.alerts = ReadWholeFile((scratch / "alerts").string()) + AlertLines(errors);
        result.probeOutput = ReadWholeFile((scratch / "probe").string());
        return result;
    }

    bool marked(const std::string& name) const { return fs::exists(scratch / name); }
};

} // namespace

TEST_F(HandOff, cancelChangesNothing)
{
    const CaseResult result = runCase(pressUninstall(PANE_BUNDLE, "Cancel") +
                                      "[ -e /temp ] && touch \"$CASE_DIR/temp made\"\n");

    EXPECT_EQ(result.alerts, kConfirmCancel);
    EXPECT_EQ(result.probeOutput, "opened\nreturned\n");
    EXPECT_FALSE(marked("temp made"));
    EXPECT_EQ(result.namespaceRun.standardError.find("Authorization"), std::string::npos);
    EXPECT_EQ(result.namespaceRun.standardError.find("Copy Rights"), std::string::npos);
}

TEST_F(HandOff, withoutATempFolderTheFirstAttemptFailsAndTheSecondHandsOff)
{
    const CaseResult result = runCase(
        "rm -rf /temp\n" + pressUninstall(PANE_BUNDLE, "Yes|Ok") +
        "[ -d /temp/Contents ] && touch \"$CASE_DIR/temp is a copy of the bundle\"\n" +
        pressUninstall(PANE_BUNDLE, "Yes|Ok") + awaitAlerts(4) +
        "[ -x /temp/Orvella_Uninstaller.app/Contents/MacOS/Orvella_Uninstaller ] && touch \"$CASE_DIR/copied\"\n");

    EXPECT_TRUE(marked("temp is a copy of the bundle"));
    EXPECT_TRUE(marked("copied"));
    // The first action comes back with the failure; the second ends the host.
    EXPECT_EQ(result.probeOutput, "opened\nreturned\nopened\n");
    // The uninstaller really ran, from /temp: nothing is installed, so it reports failure.
    EXPECT_EQ(result.alerts, kConfirmYes + kHandOffFailed + kConfirmYes + kUninstallFailedAlert)
        << result.namespaceRun.standardError;
}

TEST_F(HandOff, aCopySlowerThanTwoSecondsIsWaitedFor)
{
    const CaseResult result = runCase(
        "mkdir -p /temp\nmv /usr/bin/cp /usr/bin/cp.real\n"
        "printf '#!/bin/sh\\nsleep 4\\nexec /usr/bin/cp.real \"$@\"\\n' > /usr/bin/cp && chmod 755 /usr/bin/cp\n" +
        pressUninstall(PANE_BUNDLE, "Yes|Ok") + awaitAlerts(2));

    EXPECT_EQ(result.probeOutput, "opened\n");
    EXPECT_EQ(result.alerts, kConfirmYes + kUninstallFailedAlert) << result.namespaceRun.standardError;
}

// The host goes on, says the hand-off failed, and copies nothing, when no authorization can be
// made or when /temp or a copy in it is within other users' reach.
TEST_F(HandOff, aHandOffThatCannotBeMadeSafelyIsNotMade)
{
    const struct {
        const char* name;
        const char* preparation;
        const char* logLine = nullptr;
    } cases[] = {
        {"no authorization", "mkdir -p /temp\nrm /usr/bin/sudo\n", "Error Creating Initial Authorization: -60008"},
        {"/temp open to all", "mkdir -m 1777 /temp\n"},
        {"/temp writable by another group", "mkdir -m 775 /temp && chgrp 65534 /temp\n"},
        {"/temp of another user", "mkdir -m 755 /temp && chown 65534:65534 /temp\n"},
        {"/temp a link", "mkdir -p /var/elsewhere && ln -s /var/elsewhere /temp\n"},
        {"a planted bundle", "mkdir -m 755 /temp && mkdir -p /temp/Orvella_Uninstaller.app/Contents/MacOS\n"
                             "chown -R 65534:65534 /temp/Orvella_Uninstaller.app\n"},
        {"a planted link", "mkdir -m 755 /temp && mkdir -p /temp/Orvella_Uninstaller.app/Contents\n"
                           "ln -s /etc/orvella-victim /temp/Orvella_Uninstaller.app/Contents/Info.plist\n"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        fs::remove(scratch / "alerts");
        fs::remove(scratch / "probe");
        fs::remove(scratch / "copied");
        fs::remove(scratch / "errors");
        const CaseResult result = runCase(
            std::string("echo root only > /etc/orvella-victim && chmod 600 /etc/orvella-victim\n") + each.preparation +
            pressUninstall(PANE_BUNDLE, "Yes|Ok") + awaitAlerts(2) +
            "[ \"$(cat /etc/orvella-victim)\" = 'root only' ] || touch \"$CASE_DIR/victim overwritten\"\n"
            "[ -e /temp/Orvella_Uninstaller.app/Contents/MacOS/Orvella_Uninstaller ] && touch \"$CASE_DIR/copied\"\n");

        EXPECT_EQ(result.probeOutput, "opened\nreturned\n");
        EXPECT_EQ(result.alerts, kConfirmYes + kHandOffFailed) << result.namespaceRun.standardError;
        EXPECT_FALSE(marked("victim overwritten"));
        EXPECT_FALSE(marked("copied"));
        if (each.logLine) {
            EXPECT_EQ(CountOccurrences(result.namespaceRun.standardError, each.logLine), 1) << result.namespaceRun.standardError;
        }
    }
}

// Installed as `make install-user` does, then run with the build folder hidden: the pane, the
// uninstaller's copy in /temp and prefhost use only what was installed.
TEST_F(HandOff, theWholeCycleInstallsOpensAndUninstallsTheProduct)
{
    const std::string installedPane = "$CASE_HOME/Library/PreferencePanes/Orvella.prefPane";
    const std::string installedProbe = "\"$CASE_DIR/handoff-probe\"";
    const CaseResult result = runCase(
        "cmake --install '" BUILD_TREE "' --prefix \"$CASE_HOME/.local\" > \"$CASE_DIR/install.log\" 2>&1 || touch \"$CASE_DIR/install failed\"\n"
        "[ -d \"$CASE_HOME/Library/QuickLook/Foliotta.qlgenerator\" ] && touch \"$CASE_DIR/generator installed\"\n"
        "[ -x \"" + installedPane + "/Contents/Resources/Orvella_Uninstaller.app/Contents/MacOS/Orvella_Uninstaller\" ]"
        " && touch \"$CASE_DIR/uninstaller carried\"\n"
        "cp '" HANDOFF_PROBE "' " + installedProbe + "\n"
        "patchelf --set-rpath \"$CASE_HOME/.local/lib/orvella\" " + installedProbe + "\n"
        "mount -t tmpfs hidden-build-folder '" BUILD_TREE "'\n"
        "mkdir -p /temp\n" +
        pressUninstall(installedPane, "Yes|Ok", "/usr/sbin:/usr/bin:/sbin:/bin", installedProbe) + awaitAlerts(2) +
        "[ -e \"$CASE_HOME/Library/QuickLook/Foliotta.qlgenerator\" ] && touch \"$CASE_DIR/generator left\"\n"
        "[ -e \"" + installedPane + "\" ] && touch \"$CASE_DIR/pane left\"\n"
        "QT_QPA_PLATFORM=offscreen timeout 20 \"$CASE_HOME/.local/bin/prefhost\" \"" + installedPane +
        "\" > /dev/null 2>&1; echo $? > \"$CASE_DIR/prefhost status\"\n");

    ASSERT_FALSE(marked("install failed")) << ReadWholeFile((scratch / "install.log").string());
    EXPECT_TRUE(marked("generator installed"));
    EXPECT_TRUE(marked("uninstaller carried"));
    EXPECT_EQ(result.probeOutput, "opened\n");
    EXPECT_EQ(result.alerts, kConfirmYes + kUninstalledAlert) << result.namespaceRun.standardError;
    EXPECT_FALSE(marked("generator left"));
    EXPECT_FALSE(marked("pane left"));
    EXPECT_EQ(ReadWholeFile((scratch / "prefhost status").string()), "1\n");
}

// On a desktop with polkit: the desktop's agent asks the pane once, root's copy is handed off, and
// the uninstaller, a process of its own, is asked once more before it removes the bundles.
TEST_F(HandOff, throughPolkitThePaneAndTheUninstallerAreAskedOnceEach)
{
    fs::permissions(scratch, fs::perms::all);
    const std::string agentLog = (scratch / "agent").string();
    const std::string probe = withPolkitAgent(agentLog, kPolkitAdministratorPassword, "Orvella_Uninstaller") +
                              kAsPolkitUser + " '" HANDOFF_PROBE "'";
    const CaseResult result = runCase(
        startPrivatePolkit() +
        "mkdir -p /temp /Library/QuickLook/Foliotta.qlgenerator/Contents /Library/PreferencePanes/Orvella.prefPane/Contents\n" +
        pressUninstall(PANE_BUNDLE, "Yes|Ok", "/usr/sbin:/usr/bin:/sbin:/bin", probe) + awaitAlerts(2) +
        "[ \"$(stat -c %U /temp/Orvella_Uninstaller.app)\" = root ] && touch \"$CASE_DIR/copied by root\"\n"
        "[ -e /Library/QuickLook/Foliotta.qlgenerator ] || [ -e /Library/PreferencePanes/Orvella.prefPane ] ||"
        " touch \"$CASE_DIR/removed\"\n");

    EXPECT_EQ(result.probeOutput, "opened\n");
    EXPECT_EQ(result.alerts, kConfirmYes + kUninstalledAlert) << result.namespaceRun.standardError;
    EXPECT_EQ(ReadWholeFile(agentLog), "asked com.brimwell.orvella.administer by handoff-probe\n"
                                       "asked com.brimwell.orvella.administer by Orvella_Uninstaller\n");
    EXPECT_TRUE(marked("copied by root"));
    EXPECT_TRUE(marked("removed"));
}
