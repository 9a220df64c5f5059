// Runs every other suite of this program again inside a private mount namespace, where /Library
// may be made and removed freely.
#include "PaneTestSupport.h"

#include "ChildProcess.h"

#include <unistd.h>

TEST(PrivateRoot, EverySuitePassesInsideIt)
{
    if (InsidePrivateRoot())
        GTEST_SKIP() << "already inside";
    if (getuid() != 0)
        GTEST_SKIP() << "a private root needs root";
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(length, 0);
    self[length] = '\0';
    ChildResult run = RunChild({std::getenv("IN_PRIVATE_ROOT"), self, "--gtest_filter=-PrivateRoot.*"}, {{"ORVELLA_PRIVATE_ROOT", "1"}});
    EXPECT_EQ(run.exitStatus, 0) << run.standardOutput << run.standardError;
    EXPECT_NE(run.standardOutput.find("[  PASSED  ]"), std::string::npos) << run.standardOutput;
}
