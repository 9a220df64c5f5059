#include <AE/AE.h>
#include "AEObserver.h"
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SendAppleEventToSystemProcess.h"

namespace fs = std::filesystem;

namespace {

std::string codeText(DescType code)
{
    return {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
}

// A loginctl stand-in first in PATH: it records its arguments and answers as the variables say.
class LogoutRequest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("ae-test-" + std::to_string(getpid()));
        fs::create_directories(folder);
        const fs::path script = folder / "loginctl";
        std::ofstream(script) << "#!/bin/sh\n"
                                 "echo \"$*\" >> \"$LOGINCTL_LOG\"\n"
                                 "case \"$1\" in\n"
                                 "  session-status) [ -n \"$LOGINCTL_SESSION\" ] || exit 1\n"
                                 "                  echo \"$LOGINCTL_SESSION - ann (1000)\" ;;\n"
                                 "  terminate-session) exit \"${LOGINCTL_TERMINATE_STATUS:-0}\" ;;\n"
                                 "esac\n";
        fs::permissions(script, fs::perms::owner_all);
        savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (folder.string() + ":" + savedPath).c_str(), 1);
        setenv("LOGINCTL_LOG", (folder / "calls").c_str(), 1);
        for (const char* name : {"XDG_SESSION_ID", "LOGINCTL_SESSION", "LOGINCTL_TERMINATE_STATUS", "AE_FAIL_AECreateDesc",
                                 "AE_FAIL_AECreateAppleEvent", "AE_FAIL_AESend"})
            unsetenv(name);
        AESetCallObserver([this](const AECallRecord& call) {
            calls.push_back(std::string(call.function) + " " + codeText(call.descriptorType) + " " +
                            std::to_string(call.status));
        });
    }

    void TearDown() override
    {
        AESetCallObserver({});
        setenv("PATH", savedPath.c_str(), 1);
        fs::remove_all(folder);
    }

    std::string loginctlCalls() const
    {
        std::ifstream log(folder / "calls");
        std::stringstream text;
        text << log.rdbuf();
        return text.str();
    }

    fs::path folder;
    std::string savedPath;
    std::vector<std::string> calls;
};

} // namespace

TEST_F(LogoutRequest, endsTheSessionNamedByTheLoginAndDisposesEveryDescriptorInOrder)
{
    setenv("XDG_SESSION_ID", "c7", 1);

    EXPECT_EQ(SendAppleEventToSystemProcess(kAEReallyLogOut), noErr);

    EXPECT_EQ(loginctlCalls(), "terminate-session c7\n");
    const std::vector<std::string> expected = {
        "AECreateDesc psn  0",       "AECreateAppleEvent aevt 0", "AEDisposeDesc psn  0",
        "AESend aevt 0",             "AEDisposeDesc aevt 0",      "AEDisposeDesc null 0",
    };
    EXPECT_EQ(calls, expected);
}

TEST_F(LogoutRequest, asksLoginctlForTheCallersSessionWhenTheLoginNamedNone)
{
    setenv("LOGINCTL_SESSION", "4", 1);

    EXPECT_EQ(SendAppleEventToSystemProcess(kAEReallyLogOut), noErr);
    EXPECT_EQ(loginctlCalls(), "session-status --no-pager --lines=0\nterminate-session 4\n");
}

TEST_F(LogoutRequest, failsWithoutASessionOrWhenLogindRefuses)
{
    EXPECT_EQ(SendAppleEventToSystemProcess(kAEReallyLogOut), procNotFound);
    EXPECT_EQ(loginctlCalls(), "session-status --no-pager --lines=0\n");

    setenv("XDG_SESSION_ID", "9", 1);
    setenv("LOGINCTL_TERMINATE_STATUS", "1", 1);
    EXPECT_EQ(SendAppleEventToSystemProcess(kAEReallyLogOut), errAEEventFailed);
}

TEST_F(LogoutRequest, otherEventsAreNotHandledAndLeaveTheSessionAlone)
{
    setenv("XDG_SESSION_ID", "c7", 1);

    EXPECT_EQ(SendAppleEventToSystemProcess(kAEQuitApplication), errAEEventNotHandled);
    EXPECT_EQ(SendAppleEventToSystemProcess(kAELogOut), errAEEventNotHandled);
    EXPECT_EQ(loginctlCalls(), "");
}

TEST_F(LogoutRequest, aTargetThatCannotBeBuiltStopsBeforeTheEvent)
{
    setenv("AE_FAIL_AECreateDesc", "-108", 1);

    EXPECT_EQ(SendAppleEventToSystemProcess(kAEReallyLogOut), -108);
    EXPECT_EQ(calls, std::vector<std::string>{"AECreateDesc null -108"});
}

TEST_F(LogoutRequest, anEventThatCannotBeCreatedHasAlreadyDisposedOfTheTarget)
{
    setenv("AE_FAIL_AECreateAppleEvent", "-1701", 1);

    const OSStatus status = SendAppleEventToSystemProcess(kAEReallyLogOut);

    EXPECT_EQ(status, -1701); // widened with its sign
    const std::vector<std::string> expected = {"AECreateDesc psn  0", "AECreateAppleEvent null -1701",
                                               "AEDisposeDesc psn  0"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(loginctlCalls(), "");
}

TEST_F(LogoutRequest, aFailedSendReturnsItsStatusAfterDisposingOfTheEvent)
{
    setenv("XDG_SESSION_ID", "c7", 1);
    setenv("AE_FAIL_AESend", "-609", 1);

    EXPECT_EQ(SendAppleEventToSystemProcess(kAEReallyLogOut), -609);
    const std::vector<std::string> expected = {"AECreateDesc psn  0", "AECreateAppleEvent aevt 0",
                                               "AEDisposeDesc psn  0", "AESend aevt -609", "AEDisposeDesc aevt 0"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(loginctlCalls(), "");
}

TEST(AppleEventDescriptors, holdACopyOfTheirDataUntilDisposed)
{
    const ProcessSerialNumber process = {0, kSystemProcess};
    AEDesc target;
    ASSERT_EQ(AECreateDesc(typeProcessSerialNumber, &process, sizeof process, &target), noErr);
    EXPECT_EQ(target.descriptorType, typeProcessSerialNumber);
    ASSERT_EQ(AEGetDescDataSize(&target), 8);
    ProcessSerialNumber copy = {};
    ASSERT_EQ(AEGetDescData(&target, &copy, sizeof copy), noErr);
    EXPECT_EQ(copy.lowLongOfPSN, 1u);

    EXPECT_EQ(AEDisposeDesc(&target), noErr);
    EXPECT_EQ(target.descriptorType, typeNull);
    EXPECT_EQ(target.dataHandle, nullptr);
    EXPECT_EQ(AECreateDesc(typeNull, nullptr, -1, &target), paramErr);
}

TEST_F(LogoutRequest, sendingToAnotherProcessOrWithoutAnEventFails)
{
    const ProcessSerialNumber current = {0, kCurrentProcess};
    AEDesc target;
    ASSERT_EQ(AECreateDesc(typeProcessSerialNumber, &current, sizeof current, &target), noErr);
    AppleEvent event;
    ASSERT_EQ(AECreateAppleEvent(kCoreEventClass, kAEReallyLogOut, &target, kAutoGenerateReturnID, kAnyTransactionID,
                                 &event),
              noErr);
    AppleEvent reply;
    EXPECT_EQ(AESend(&event, &reply, kAENoReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr),
              procNotFound);
    EXPECT_EQ(reply.descriptorType, typeNull);
    EXPECT_EQ(AESend(&target, &reply, kAENoReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr),
              errAENotAEDesc);
    AEDisposeDesc(&event);
    AEDisposeDesc(&target);
}
