// The alert presenter of test programs: answers by title, records, and drives child processes
// through the environment.
#include <AppKit/AppKit.h>
#include "NSAlertTestDriver.h"

#include "ChildProcess.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
NSModalResponse runTwoButtonAlert(const char* message)
{
    NSAlert alert;
    alert.setMessageText(message);
    alert.setInformativeText("Do you want to un-install the product?");
    alert.addButtonWithTitle("Yes");
    alert.addButtonWithTitle("Cancel");
    alert.setAlertStyle(NSInformationalAlertStyle);
    return alert.runModal();
}

}  // namespace

TEST(AlertDriver, ButtonsAnswerInTheOrderTheyWereAdded)
{
    NSAlertTestDriver::reset();
    NSAlertTestDriver::answerWith({"Yes", "Cancel", "Maybe"});
    EXPECT_EQ(runTwoButtonAlert("first"), NSAlertFirstButtonReturn);
    EXPECT_EQ(runTwoButtonAlert("second"), NSAlertSecondButtonReturn);
    EXPECT_EQ(runTwoButtonAlert("third"), NSAlertSecondButtonReturn) << "an unknown title presses the last button";

    const auto& alerts = NSAlertTestDriver::recordedAlerts();
    ASSERT_EQ(alerts.size(), 3u);
    EXPECT_EQ(alerts[0].messageText, "first");
    EXPECT_EQ(alerts[0].informativeText, "Do you want to un-install the product?");
    EXPECT_EQ(alerts[0].alertStyle, 1u);
    EXPECT_EQ(alerts[0].buttonTitles, (std::vector<std::string>{"Yes", "Cancel"}));
    EXPECT_EQ(alerts[0].pressedTitle, "Yes");
    EXPECT_EQ(alerts[1].pressedTitle, "Cancel");
}

TEST(AlertDriver, AnAlertWithoutButtonsGetsOk)
{
    NSAlertTestDriver::reset();
    NSAlertTestDriver::answerWith({"OK"});
    NSAlert alert;
    alert.setMessageText("UnInstall Failed!");
    EXPECT_EQ(alert.runModal(), NSAlertFirstButtonReturn);
    EXPECT_EQ(NSAlertTestDriver::recordedAlerts().at(0).buttonTitles, std::vector<std::string>{"OK"});
}

TEST(AlertDriver, ChildProcessesAreDrivenAndLoggedThroughTheEnvironment)
{
    TemporaryFolder folder;
    const std::string log = folder.path() + "/alerts.log";
    ChildResult child = RunChild({std::filesystem::read_symlink("/proc/self/exe").string(), "--gtest_filter=AlertChild.RunsThreeAlerts"},
                                 {{"ALERT_CHILD", "1"}, {"NSALERT_ANSWERS", "Cancel|Yes"}, {"NSALERT_LOG", log}});
    EXPECT_EQ(child.exitStatus, 0) << child.standardOutput << child.standardError;
    EXPECT_EQ(ReadWholeFile(log), "one\tDo you want to un-install the product?\t1\tYes|Cancel\tCancel\n"
                                  "tab\\there\tline\\nbreak \\\\ done\t0\tYes|Cancel\tYes\n"
                                  "three\tDo you want to un-install the product?\t1\tYes|Cancel\tCancel\n");
    EXPECT_NE(child.standardError.find("no answer"), std::string::npos) << "a used-up list is said, not hung on";
}

TEST(AlertChild, RunsThreeAlerts)
{
    if (!std::getenv("ALERT_CHILD"))
        GTEST_SKIP() << "runs as a child process";
    EXPECT_EQ(runTwoButtonAlert("one"), NSAlertSecondButtonReturn);
    NSAlert alert;
    alert.setMessageText("tab\there");
    alert.setInformativeText("line\nbreak \\ done");
    alert.addButtonWithTitle("Yes");
    alert.addButtonWithTitle("Cancel");
    EXPECT_EQ(alert.runModal(), NSAlertFirstButtonReturn);
    EXPECT_EQ(runTwoButtonAlert("three"), NSAlertSecondButtonReturn);
}
