// The Apple Event Manager: its descriptors, and the log-out event carried out by a stand-in
// systemd-logind on a private bus.
#include <AE/AE.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "StandInLogind.h"
#include "TemporaryFolder.h"

namespace {

OSStatus sendToSystemProcess(AEEventID eventID)
{
    const ProcessSerialNumber system = {0, kSystemProcess};
    AEDesc target;
    if (const OSErr status = AECreateDesc(typeProcessSerialNumber, &system, sizeof system, &target); status != noErr)
        return status;
    AppleEvent event;
    const OSErr created =
        AECreateAppleEvent(kCoreEventClass, eventID, &target, kAutoGenerateReturnID, kAnyTransactionID, &event);
    AEDisposeDesc(&target);
    if (created != noErr)
        return created;
    AppleEvent reply;
    const OSStatus sent = AESend(&event, &reply, kAENoReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr);
    AEDisposeDesc(&event);
    return sent;
}

class LogOut : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(logind.running());
        unsetenv("XDG_SESSION_ID");
    }

    StandInLogind logind;
    TemporaryFolder folder{"ae-test"};
};

} // namespace

TEST_F(LogOut, endsTheSessionTheLoginNamed)
{
    logind.knows(R"({"sessions": ["c7"], "sessionOfPid": {")" + std::to_string(getpid()) + R"(": "c9"}})");
    setenv("XDG_SESSION_ID", "c7", 1);

    EXPECT_EQ(sendToSystemProcess(kAEReallyLogOut), noErr);
    EXPECT_EQ(logind.calls(), "GetSession c7\nTerminate c7\n");
}

TEST_F(LogOut, withoutANamedSessionEndsThisProcesssSessionElseTheUsersGraphicalOne)
{
    logind.knows(R"({"sessionOfPid": {")" + std::to_string(getpid()) + R"(": "c9"}, "displaySession": "c2"})");
    EXPECT_EQ(sendToSystemProcess(kAEReallyLogOut), noErr);
    EXPECT_EQ(logind.calls(), "GetSessionByPID\nTerminate c9\n");

    logind.knows(R"({"displaySession": "c2"})");
    EXPECT_EQ(sendToSystemProcess(kAEReallyLogOut), noErr);
    EXPECT_EQ(logind.calls(), "GetSessionByPID\nTerminate c9\nGetSessionByPID\nGetUser\nTerminate c2\n");
}

TEST_F(LogOut, failsWithoutASessionWhenLogindRefusesOrCannotBeReached)
{
    EXPECT_EQ(sendToSystemProcess(kAEReallyLogOut), procNotFound);
    EXPECT_EQ(logind.calls(), "GetSessionByPID\nGetUser\n");

    logind.knows(R"({"displaySession": "c2", "refuse": true})");
    EXPECT_EQ(sendToSystemProcess(kAEReallyLogOut), errAEEventFailed);

    setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + folder.path() + "/no-bus").c_str(), 1);
    EXPECT_EQ(sendToSystemProcess(kAEReallyLogOut), errAEEventFailed);
}

TEST_F(LogOut, otherEventsAreNotHandledAndLeaveTheSessionAlone)
{
    logind.knows(R"({"displaySession": "c2"})");
    EXPECT_EQ(sendToSystemProcess(kAEQuitApplication), errAEEventNotHandled);
    EXPECT_EQ(sendToSystemProcess(kAELogOut), errAEEventNotHandled);
    EXPECT_EQ(logind.calls(), "");
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

TEST(AppleEvents, sendingToAnotherProcessOrWithoutAnEventFails)
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
    EXPECT_EQ(AESend(&event, &reply, kAEWaitReply, kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr), paramErr);
    AEDisposeDesc(&event);
    AEDisposeDesc(&target);
}
