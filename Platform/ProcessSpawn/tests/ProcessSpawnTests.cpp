// Child processes through the helper: real programs, their arguments, environment, streams and endings.
#include <ProcessSpawn/ProcessSpawn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

using namespace std::chrono_literals;

spawn::Launch shell(const std::string& script, std::vector<std::string> environment = {}) {
    return {"/bin/sh", {"sh", "-c", script, "sh-name"}, std::move(environment)};
}

}  // namespace

TEST(ProcessSpawn, theChildGetsExactlyTheArgumentsAndEnvironmentGiven) {
    std::string output;
    const spawn::Launch launch = {"/usr/bin/env", {"env"}, {"ONE=a value; $(not run)", "TWO="}};

    EXPECT_TRUE(spawn::run(launch, std::nullopt, &output).exitedWith(0));
    EXPECT_EQ(output, "ONE=a value; $(not run)\nTWO=\n");

    output.clear();
    const spawn::Launch printf = {"/usr/bin/printf", {"printf", "[%s]", "with blanks", "`x` *", ""}, {}};
    EXPECT_TRUE(spawn::run(printf, std::nullopt, &output).exitedWith(0));
    EXPECT_EQ(output, "[with blanks][`x` *][]");
}

TEST(ProcessSpawn, environmentWithReplacesOnlyTheVariablesNamed) {
    EXPECT_EQ(spawn::environmentWith({"A=1", "AB=2", "B=3"}, {{"A", "new"}, {"C", "4"}}),
              (std::vector<std::string>{"AB=2", "B=3", "A=new", "C=4"}));
}

TEST(ProcessSpawn, reportsHowTheChildEnded) {
    const struct {
        const char* script;
        spawn::Ending::Kind kind;
        int code;
    } cases[] = {
        {"exit 0", spawn::Ending::Kind::Exited, 0},
        {"exit 3", spawn::Ending::Kind::Exited, 3},
        {"kill -TERM $$", spawn::Ending::Kind::Signalled, SIGTERM},
        {"sleep 30", spawn::Ending::Kind::TimedOut, SIGKILL},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.script);
        const auto started = std::chrono::steady_clock::now();
        const spawn::Ending ending = spawn::run(shell(each.script), 300ms);
        EXPECT_EQ(ending.kind, each.kind);
        EXPECT_EQ(ending.code, each.code);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    }
}

TEST(ProcessSpawn, aProgramThatCannotBeExecutedIsReportedByStart) {
    for (const char* program : {"/no/such/program", "/etc/passwd", "relative/sh"}) {
        SCOPED_TRACE(program);
        errno = 0;
        EXPECT_EQ(spawn::start({program, {program}, {}}), -1);
        EXPECT_NE(errno, 0);
        EXPECT_EQ(spawn::run({program, {program}, {}}).kind, spawn::Ending::Kind::NotStarted);
    }
    // A bare name is looked up in PATH only when asked to.
    EXPECT_TRUE(spawn::run({"true", {"true"}, {}, spawn::kNullDevice, spawn::kInherited, true}).exitedWith(0));
    EXPECT_EQ(spawn::run({"true", {"true"}, {}}).kind, spawn::Ending::Kind::NotStarted);
}

TEST(ProcessSpawn, outputCollectedUntilTheLimitKeepsWhatCameBeforeIt) {
    std::string output;
    const spawn::Ending ending = spawn::run(shell("echo early; exec sleep 30"), 300ms, &output);

    EXPECT_EQ(ending.kind, spawn::Ending::Kind::TimedOut);
    EXPECT_EQ(output, "early\n");
}

TEST(ProcessSpawn, standardInputIsTheNullDeviceUnlessADescriptorIsGiven) {
    // Our own standard input holds data; a child must not read it unless given it.
    int ours[2];
    ASSERT_EQ(pipe(ours), 0);
    ASSERT_EQ(write(ours[1], "ours\n", 5), 5);
    close(ours[1]);
    const int savedInput = dup(STDIN_FILENO);
    dup2(ours[0], STDIN_FILENO);

    std::string defaultInput;
    spawn::run({"/bin/cat", {"cat"}, {}}, 5s, &defaultInput);
    std::string givenInput;
    spawn::Launch reading = {"/bin/cat", {"cat"}, {}};
    reading.standardInput = ours[0];
    spawn::run(reading, 5s, &givenInput);

    dup2(savedInput, STDIN_FILENO);
    close(savedInput);
    close(ours[0]);
    EXPECT_EQ(defaultInput, "");
    EXPECT_EQ(givenInput, "ours\n");
}

TEST(ProcessSpawn, aNewSessionLeavesOursAndNoSignalStaysIgnored) {
    signal(SIGINT, SIG_IGN);
    spawn::Launch launch = shell("cut -d ' ' -f 6 /proc/self/stat; grep SigIgn /proc/self/status");
    std::string sameSession;
    spawn::run(launch, 5s, &sameSession);
    launch.newSession = true;
    std::string newSession;
    spawn::run(launch, 5s, &newSession);
    signal(SIGINT, SIG_DFL);

    const std::string ours = std::to_string(getsid(0)) + "\n";
    EXPECT_EQ(sameSession.substr(0, sameSession.find('\n') + 1), ours);
    EXPECT_NE(newSession.substr(0, newSession.find('\n') + 1), ours);
    const auto ignored = newSession.find("SigIgn:\t");
    ASSERT_NE(ignored, std::string::npos) << newSession;
    EXPECT_EQ(std::stoull(newSession.substr(ignored + 8, 16), nullptr, 16) & (1ull << (SIGINT - 1)), 0u) << newSession;
}
