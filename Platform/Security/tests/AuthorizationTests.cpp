// Authorization Services as root, through the real sudo.
#include <Security/Security.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

std::string readToEnd(FILE* stream)
{
    std::string text;
    char buffer[256];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, stream)) > 0)
        text.append(buffer, count);
    return text;
}

int zombieChildren()
{
    int zombies = 0;
    DIR* processes = opendir("/proc");
    while (dirent* entry = readdir(processes)) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line))
            continue;
        // pid (name) state ppid ...
        const auto afterName = line.rfind(')');
        char state = 0;
        int parent = 0;
        if (afterName != std::string::npos && sscanf(line.c_str() + afterName + 1, " %c %d", &state, &parent) == 2 &&
            parent == getpid() && state == 'Z')
            ++zombies;
    }
    closedir(processes);
    return zombies;
}

class Authorization : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root";
        ASSERT_EQ(AuthorizationCreate(nullptr, kAuthorizationEmptyEnvironment, kAuthorizationFlagDefaults, &reference),
                  errAuthorizationSuccess);
    }
    void TearDown() override
    {
        if (reference != nullptr) {
            EXPECT_EQ(AuthorizationFree(reference, kAuthorizationFlagDestroyRights), errAuthorizationSuccess);
        }
    }

    OSStatus acquireAdministratorRight()
    {
        AuthorizationItem item = {kAuthorizationRightExecute, 0, nullptr, 0};
        AuthorizationRights rights = {1, &item};
        return AuthorizationCopyRights(reference, &rights, nullptr,
                                       kAuthorizationFlagInteractionAllowed | kAuthorizationFlagExtendRights |
                                           kAuthorizationFlagPreAuthorize,
                                       nullptr);
    }

    AuthorizationRef reference = nullptr;
};

} // namespace

TEST_F(Authorization, rootHoldsTheAdministratorRightAndNoOther)
{
    EXPECT_EQ(acquireAdministratorRight(), errAuthorizationSuccess);

    AuthorizationItem other = {"system.preferences", 0, nullptr, 0};
    AuthorizationRights rights = {1, &other};
    AuthorizationRights* granted = nullptr;
    EXPECT_EQ(AuthorizationCopyRights(reference, &rights, nullptr, kAuthorizationFlagExtendRights, &granted),
              errAuthorizationDenied);
    EXPECT_EQ(granted, nullptr);
    EXPECT_EQ(AuthorizationCopyRights(nullptr, &rights, nullptr, 0, nullptr), errAuthorizationInvalidRef);
    EXPECT_EQ(AuthorizationCopyRights(reference, nullptr, nullptr, 0, nullptr), errAuthorizationInvalidSet);

    AuthorizationItem admin = {kAuthorizationRightExecute, 0, nullptr, 0};
    rights = {1, &admin};
    ASSERT_EQ(AuthorizationCopyRights(reference, &rights, nullptr, kAuthorizationFlagExtendRights, &granted),
              errAuthorizationSuccess);
    ASSERT_NE(granted, nullptr);
    ASSERT_EQ(granted->count, 1u);
    EXPECT_STREQ(granted->items[0].name, "system.privilege.admin");
    EXPECT_EQ(AuthorizationFreeItemSet(granted), errAuthorizationSuccess);
}

TEST_F(Authorization, toolGetsEachArgumentWholeAndItsOutputComesThroughTheStream)
{
    ASSERT_EQ(acquireAdministratorRight(), errAuthorizationSuccess);
    const char* arguments[] = {"[%s]", "a path with blanks", "$HOME;`x`", "", nullptr};
    FILE* stream = nullptr;

    ASSERT_EQ(AuthorizationExecuteWithPrivileges(reference, "/usr/bin/printf", kAuthorizationFlagDefaults,
                                                 const_cast<char* const*>(arguments), &stream),
              errAuthorizationSuccess);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(readToEnd(stream), "[a path with blanks][$HOME;`x`][]");
    fclose(stream);
}

TEST_F(Authorization, toolsThatCannotBeStartedAreRefusedAtOnce)
{
    const char* arguments[] = {nullptr};
    FILE* stream = reinterpret_cast<FILE*>(1);
    for (const char* tool : {"bin/ls", "/no/such/tool", "/etc/passwd", "/tmp"}) {
        EXPECT_EQ(AuthorizationExecuteWithPrivileges(reference, tool, 0, const_cast<char* const*>(arguments), &stream),
                  errAuthorizationToolExecuteFailure)
            << tool;
        EXPECT_EQ(stream, nullptr);
    }
    EXPECT_EQ(AuthorizationExecuteWithPrivileges(nullptr, "/bin/true", 0, const_cast<char* const*>(arguments), &stream),
              errAuthorizationInvalidRef);
}

TEST_F(Authorization, startsWithoutWaitingAndLeavesNoZombies)
{
    ASSERT_EQ(acquireAdministratorRight(), errAuthorizationSuccess);
    const char* sleepFor[] = {"3", nullptr};
    FILE* stream = nullptr;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(AuthorizationExecuteWithPrivileges(reference, "/bin/sleep", 0, const_cast<char* const*>(sleepFor), &stream),
              errAuthorizationSuccess);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    fclose(stream);

    const char* none[] = {nullptr};
    for (int start = 0; start < 5; ++start) {
        ASSERT_EQ(AuthorizationExecuteWithPrivileges(reference, "/bin/true", 0, const_cast<char* const*>(none), &stream),
                  errAuthorizationSuccess);
        readToEnd(stream);
        fclose(stream);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(zombieChildren(), 0);
}
