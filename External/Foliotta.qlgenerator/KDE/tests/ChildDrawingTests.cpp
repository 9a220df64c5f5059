// A drawing in a child process: its answer comes back whole, and a drawing that crashes, hangs,
// spins or swamps the memory costs the caller nothing but a refusal within the time bound.
#include "ChildDrawing.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

using Work = std::function<std::optional<std::string>()>;

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

TEST(ChildDrawing, AnswersAsTheWorkDoesAndBoundsTheRest)
{
    struct Case {
        const char* name;
        Work work;
        std::optional<std::string> answer;
    };
    const std::string large(3 * kMiB + 17, 'x');  // more than a pipe holds at once
    const Case cases[] = {
        {"an answer", [] { return std::string("picture"); }, "picture"},
        {"an empty answer", [] { return std::string(); }, ""},
        {"a large answer", [&] { return large; }, large},
        {"no answer", [] { return std::nullopt; }, std::nullopt},
        {"a crash", []() -> std::optional<std::string> { raise(SIGSEGV); return "unreached"; }, std::nullopt},
        {"an exception", []() -> std::optional<std::string> { throw std::runtime_error("no"); }, std::nullopt},
        {"a hang", []() -> std::optional<std::string> { pause(); return "unreached"; }, std::nullopt},
        {"a spin", []() -> std::optional<std::string> { volatile int spins = 0; for (;;) spins = spins + 1; }, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(RunInChild(c.work, ChildLimits{1s, 0}), c.answer) << c.name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << c.name << ": the bound is 1 s";
        EXPECT_TRUE(NoChildRunsOn()) << c.name;
    }
}

TEST(ChildDrawing, MemoryBeyondTheBoundIsRefused)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space, so the bound is not set under it";
#endif
    const Work greedy = []() -> std::optional<std::string> {
        std::vector<std::unique_ptr<char[]>> held;
        for (int i = 0; i < 64; ++i)
            held.emplace_back(new char[64 * kMiB]);  // 4 GiB in all
        return "all of it";
    };
    EXPECT_EQ(RunInChild(greedy, ChildLimits{10s, 512 * kMiB}), std::nullopt);
    EXPECT_EQ(RunInChild(greedy, ChildLimits{10s, 0}), "all of it") << "without a bound (only address space is taken)";
}

TEST(ChildDrawing, TheChildHasTheEnvironmentGivenAndTheCallerKeepsItsOwn)
{
    std::string setting = "FOLIOTTA_CHILD_SETTING=child's";
    char* environment[] = {setting.data(), nullptr};
    const Work read = [] { const char* value = std::getenv("FOLIOTTA_CHILD_SETTING"); return std::string(value ? value : "unset"); };
    EXPECT_EQ(RunInChild(read, ChildLimits{1s, 0, environment}), "child's");
    EXPECT_EQ(RunInChild(read, ChildLimits{1s, 0}), "unset");
    EXPECT_EQ(std::getenv("FOLIOTTA_CHILD_SETTING"), nullptr);
}

}  // namespace
