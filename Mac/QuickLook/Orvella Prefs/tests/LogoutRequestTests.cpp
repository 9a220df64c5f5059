// The log-out request as the pane sends it, against a scripted Apple Event Manager.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedAppleEventManager.h"
#include "SendAppleEventToSystemProcess.h"

namespace {

class LogoutRequest : public ::testing::Test {
protected:
    void SetUp() override { scriptedAppleEventManager() = {}; }
    void TearDown() override { EXPECT_EQ(scriptedAppleEventManager().descriptorsAlive, 0) << "a descriptor leaked"; }

    const std::vector<std::string>& calls() const { return scriptedAppleEventManager().calls; }
};

} // namespace

TEST_F(LogoutRequest, sendsTheEventToTheSystemProcessWithoutWaitingAndDisposesEveryDescriptorInOrder)
{
    EXPECT_EQ(SendAppleEventToSystemProcess(kAEReallyLogOut), noErr);

    EXPECT_EQ(scriptedAppleEventManager().sentEvent,
              "aevt/rlgo to psn  0:1 return -1 transaction 0, mode 1 priority 0 timeout -1");
    const std::vector<std::string> expected = {
        "AECreateDesc psn  0", "AECreateAppleEvent aevt 0", "AEDisposeDesc psn  0",
        "AESend aevt 0",       "AEDisposeDesc aevt 0",      "AEDisposeDesc null 0",
    };
    EXPECT_EQ(calls(), expected);
}

// Each failing step: the status returned (widened with its sign) and the calls made up to it.
TEST_F(LogoutRequest, aFailedStepReturnsItsStatusHavingDisposedOfWhatWasMade)
{
    const struct {
        const char* step;
        OSStatus status;
        std::vector<std::string> calls;
    } cases[] = {
        {"AECreateDesc", -108, {"AECreateDesc null -108"}},
        {"AECreateAppleEvent", -1701, {"AECreateDesc psn  0", "AECreateAppleEvent null -1701", "AEDisposeDesc psn  0"}},
        {"AESend", -609,
         {"AECreateDesc psn  0", "AECreateAppleEvent aevt 0", "AEDisposeDesc psn  0", "AESend aevt -609",
          "AEDisposeDesc aevt 0"}},
    };
    for (const auto& failing : cases) {
        SCOPED_TRACE(failing.step);
        scriptedAppleEventManager() = {};
        scriptedAppleEventManager().failures[failing.step] = failing.status;

        EXPECT_EQ(SendAppleEventToSystemProcess(kAEReallyLogOut), failing.status);
        EXPECT_EQ(calls(), failing.calls);
    }
}
