#include "ChildDrawing.h"

#include "RunLimits.h"
#include "WholeWrite.h"

#include <cerrno>
#include <cstdint>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The address space this process uses now, in bytes (0 when unknown).
size_t AddressSpaceInUse()
{
    unsigned long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

[[noreturn]] void RunChild(int out, const std::function<std::optional<std::string>()>& work, const ChildLimits& limits,
                           size_t addressSpaceLimit)
{
    // Gone with the process that waits for it, should that die first.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (limits.environment != nullptr)
        environ = limits.environment;
    // A second bound beside the parent's clock: the processor time, counted from zero in a child.
    LimitProcessorTimeAndAddressSpace(
        static_cast<unsigned>(std::chrono::ceil<std::chrono::seconds>(limits.time).count()), addressSpaceLimit);
    int status = 1;
    try {
        // Its length first, so that the parent knows a whole answer without waiting for the exit.
        if (const std::optional<std::string> answer = work()) {
            const uint64_t length = answer->size();
            if (WriteWhole(out, std::string(reinterpret_cast<const char*>(&length), sizeof length)) && WriteWhole(out, *answer))
                status = 0;
        }
    } catch (...) {  // out of memory, mostly
    }
    // No exit handlers or static destructors: they belong to the parent's libraries and state.
    _exit(status);
}

}  // namespace

std::optional<std::string> RunInChild(const std::function<std::optional<std::string>()>& work, const ChildLimits& limits)
{
    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    const size_t addressSpaceLimit = limits.memory != 0 ? AddressSpaceInUse() + limits.memory : 0;
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        RunChild(pipeEnds[1], work, limits, addressSpaceLimit);
    }
    close(pipeEnds[1]);
    if (child < 0) {
        close(pipeEnds[0]);
        return std::nullopt;
    }

    std::string received;
    uint64_t length = 0;
    auto whole = [&] {
        if (received.size() < sizeof length)
            return false;
        std::memcpy(&length, received.data(), sizeof length);
        return received.size() - sizeof length == length;
    };
    char buffer[65536];
    while (!whole()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd readable = {pipeEnds[0], POLLIN, 0};
        const int ready = poll(&readable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;  // the child ended without a whole answer
        received.append(buffer, static_cast<size_t>(n));
    }
    close(pipeEnds[0]);
    if (whole()) {
        // A child that answered is ending by itself (it runs nothing of the document's any more);
        // its exit, which unmaps what it copied of this process, is not waited for here.
        auto reap = [child] {
            while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
            }
        };
        if (waitpid(child, nullptr, WNOHANG) == 0) {
            try {
                std::thread(reap).detach();
            } catch (const std::system_error&) {  // no thread to be had: wait here instead
                reap();
            }
        }
        return received.substr(sizeof length);
    }
    // Whatever it is doing now, the child has nothing more to give: it is ended and reaped here,
    // never left to run on.
    kill(child, SIGKILL);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return std::nullopt;
}
