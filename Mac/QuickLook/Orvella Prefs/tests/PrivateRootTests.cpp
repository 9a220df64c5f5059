// Runs every other suite of this program again inside a private mount namespace, where /Library
// may be made and removed freely, and as an ordinary user outside it.
#include "PaneTestSupport.h"

#include "ChildProcess.h"
#include "FolderSnapshot.h"

#include <unistd.h>

TEST(PrivateRoot, EverySuitePassesInsideItAndTheRealFoldersStayAsTheyWere)
{
    if (InsidePrivateRoot())
        GTEST_SKIP() << "already inside";
    if (getuid() != 0)
        GTEST_SKIP() << "a private root needs root";
    const std::string library = FolderSnapshot("/Library");
    const std::string temp = FolderSnapshot("/temp");

    ChildResult run = RunChild({std::getenv("IN_PRIVATE_ROOT"), ThisProgram(), "--gtest_filter=-PrivateRoot.*:OrdinaryUser.*:ChildFlow.*:LookChild.*"},
                               {{"ORVELLA_PRIVATE_ROOT", "1"}});
    EXPECT_EQ(run.exitStatus, 0) << run.standardOutput << run.standardError;
    EXPECT_NE(run.standardOutput.find("[  PASSED  ]"), std::string::npos) << run.standardOutput;
    EXPECT_EQ(CountOccurrences(run.standardOutput, "[  SKIPPED ]"), 0) << run.standardOutput;
    EXPECT_EQ(FolderSnapshot("/Library"), library);
    EXPECT_EQ(FolderSnapshot("/temp"), temp);
}

TEST(OrdinaryUser, TheCasesThatNeedNoPrivateLibraryPassAsAnyUser)
{
    if (InsidePrivateRoot() || getuid() != 0)
        GTEST_SKIP() << "run as root, this case starts the suites as the user nobody";
    ChildResult run = RunChild({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--", ThisProgram(),
                                "--gtest_filter=-PrivateRoot.*:OrdinaryUser.*:ChildFlow.*:LookChild.*:Look.Screenshots*"});
    EXPECT_EQ(run.exitStatus, 0) << run.standardOutput << run.standardError;
    EXPECT_NE(run.standardOutput.find("[  PASSED  ]"), std::string::npos) << run.standardOutput;
    EXPECT_GE(CountOccurrences(run.standardOutput, "[       OK ]"), 20) << "most cases need no /Library of their own\n"
                                                                       << run.standardOutput;
}
