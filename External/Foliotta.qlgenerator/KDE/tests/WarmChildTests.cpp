// The drawing child: one process answers request after request, its answer comes back whole, and
// a request that crashes, hangs, spins or swamps the memory costs the caller nothing but a refusal
// within the time bound, and the next request a new child.
#include "WarmChild.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr size_t kMiB = size_t{1} << 20;

// True once no child of this process runs any more (zombies waiting to be reaped are reaped here).
bool NoChildRunsOn()
{
    for (int tries = 0; tries < 200; ++tries) {
        const pid_t reaped = waitpid(-1, nullptr, WNOHANG);
        if (reaped < 0)
            return true;
        if (reaped == 0)
            usleep(10000);
    }
    return false;
}

// The work the tests' child does: the request names it.
std::optional<std::string> Perform(const std::string& request)
{
    static const std::string large(3 * kMiB + 17, 'x');  // more than a socket holds at once
    if (request == "pid")
        return std::to_string(getpid());
    if (request == "large")
        return large;
    if (request == "none")
        return std::nullopt;
    if (request == "crash")
        raise(SIGSEGV);
    if (request == "exception")
        throw std::runtime_error("no");
    if (request == "hang")
        pause();
    if (request == "spin")
        for (volatile int spins = 0;;)
            spins = spins + 1;
    if (request == "greedy") {
        std::vector<std::unique_ptr<char[]>> held;
        for (int i = 0; i < 64; ++i)
            held.emplace_back(new char[64 * kMiB]);  // 4 GiB in all
        return "all of it";
    }
    if (request == "descriptors") {
        std::string listed = " ";
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
            listed += entry.path().filename().string() + " ";
        return listed;
    }
    if (request == "setting") {
        const char* value = std::getenv("FOLIOTTA_CHILD_SETTING");
        return std::string(value ? value : "unset");
    }
    return "echo " + request;
}

TEST(WarmChild, AnswersAsTheWorkDoesAndBoundsTheRest)
{
    struct Case {
        const char* request;
        std::optional<std::string> answer;
        bool childStays;  // the same process answers the next request
    };
    const Case cases[] = {
        {"an answer", "echo an answer", true},
        {"", "echo ", true},
        {"large", std::string(3 * kMiB + 17, 'x'), true},
        {"none", std::nullopt, true},
        {"exception", std::nullopt, true},
        {"crash", std::nullopt, false},
        {"hang", std::nullopt, false},
        {"spin", std::nullopt, false},
    };
    WarmChild child(Perform, ChildLimits{1s, 0});
    for (const Case& c : cases) {
        const std::optional<std::string> before = child.ask("pid");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(child.ask(c.request), c.answer) << c.request;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << c.request << ": the bound is 1 s";
        const std::optional<std::string> after = child.ask("pid");
        ASSERT_TRUE(before && after) << c.request << ": a child answers after it";
        EXPECT_EQ(*before == *after, c.childStays) << c.request;
    }
}

TEST(WarmChild, EndsItsChildWhenItEnds)
{
    {
        WarmChild child(Perform, ChildLimits{1s, 0});
        ASSERT_TRUE(child.ask("pid"));
    }
    EXPECT_TRUE(NoChildRunsOn());
}

TEST(WarmChild, TheChildHoldsNoneOfTheHostsDescriptors)
{
    // One of the host's own, say a client's connection, at numbers that the child's own listing of
    // its descriptors does not take.
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const int connection[] = {dup2(pipeEnds[0], 100), dup2(pipeEnds[1], 101)};
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    const std::optional<std::string> listed = WarmChild(Perform, ChildLimits{1s, 0}).ask("descriptors");
    close(connection[0]);
    close(connection[1]);
    ASSERT_TRUE(listed);
    for (const int descriptor : connection)
        EXPECT_EQ(listed->find(" " + std::to_string(descriptor) + " "), std::string::npos) << *listed;
}

TEST(WarmChild, MemoryBeyondTheBoundIsRefused)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space, so the bound is not set under it";
#endif
    EXPECT_EQ(WarmChild(Perform, ChildLimits{10s, 512 * kMiB}).ask("greedy"), std::nullopt);
    EXPECT_EQ(WarmChild(Perform, ChildLimits{10s, 0}).ask("greedy"), "all of it")
        << "without a bound (only address space is taken)";
}

TEST(WarmChild, TheChildHasTheEnvironmentGivenAndTheCallerKeepsItsOwn)
{
    std::string setting = "FOLIOTTA_CHILD_SETTING=child's";
    char* environment[] = {setting.data(), nullptr};
    EXPECT_EQ(WarmChild(Perform, ChildLimits{1s, 0, environment}).ask("setting"), "child's");
    EXPECT_EQ(WarmChild(Perform, ChildLimits{1s, 0}).ask("setting"), "unset");
    EXPECT_EQ(std::getenv("FOLIOTTA_CHILD_SETTING"), nullptr);
}

}  // namespace
