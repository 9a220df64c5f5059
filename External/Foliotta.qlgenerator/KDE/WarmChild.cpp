#include "WarmChild.h"

#include "RunLimits.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// A child serves this many requests, then the next one gets a new child.
constexpr int kRequestsPerChild = 256;

// Messages both ways: a length, then that many bytes. The child's answer has a length of all ones
// when its work gave none.
constexpr uint64_t kNoAnswer = ~uint64_t{0};

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

// Sent whole, without SIGPIPE should the other end be gone.
bool SendWhole(int socket, const void* bytes, size_t length)
{
    const char* next = static_cast<const char*>(bytes);
    while (length > 0) {
        const ssize_t sent = send(socket, next, length, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        next += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

bool SendMessage(int socket, uint64_t length, const std::string& bytes)
{
    return SendWhole(socket, &length, sizeof length) && SendWhole(socket, bytes.data(), bytes.size());
}

// Reads exactly `length` bytes unless the deadline passes (nullopt: none) or the other end goes.
bool ReceiveWhole(int socket, void* bytes, size_t length, std::optional<std::chrono::steady_clock::time_point> deadline)
{
    char* next = static_cast<char*>(bytes);
    while (length > 0) {
        if (deadline) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd readable = {socket, POLLIN, 0};
            const int ready = poll(&readable, 1, static_cast<int>(left.count()));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                return false;
        }
        const ssize_t received = recv(socket, next, length, 0);
        if (received < 0 && errno == EINTR)
            continue;
        if (received <= 0)
            return false;
        next += received;
        length -= static_cast<size_t>(received);
    }
    return true;
}

[[noreturn]] void Serve(int socket, const WarmChild::Work& work, const ChildLimits& limits, size_t addressSpaceLimit)
{
    // Gone with the process that asks, should that die first; and holding none of its connections
    // open, as it outlives the requests that the host's descriptors served.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (socket > 3)
        close_range(3, static_cast<unsigned>(socket) - 1, 0);
    close_range(static_cast<unsigned>(socket) + 1, ~0U, 0);
    if (limits.environment != nullptr)
        environ = limits.environment;
    LimitAddressSpace(addressSpaceLimit);
    const auto seconds = static_cast<unsigned>(std::chrono::ceil<std::chrono::seconds>(limits.time).count());
    for (;;) {
        uint64_t length = 0;
        std::string request;
        if (!ReceiveWhole(socket, &length, sizeof length, std::nullopt))
            break;  // the asking side is done
        try {
            request.resize(length);
        } catch (...) {
            break;
        }
        if (!ReceiveWhole(socket, request.data(), request.size(), std::nullopt))
            break;
        // A second bound beside the asking side's clock.
        LimitProcessorTimeFromNow(seconds);
        std::optional<std::string> answer;
        try {
            answer = work(request);
        } catch (...) {  // out of memory, mostly
        }
        if (!(answer ? SendMessage(socket, answer->size(), *answer) : SendMessage(socket, kNoAnswer, {})))
            break;
    }
    // No exit handlers or static destructors: they belong to the parent's libraries and state.
    _exit(0);
}

}  // namespace

WarmChild::WarmChild(Work work, ChildLimits limits) : work_(std::move(work)), limits_(limits) {}

WarmChild::~WarmChild()
{
    end();
}

std::optional<std::string> WarmChild::ask(const std::string& request)
{
    const std::lock_guard lock(asking_);
    // A child that ended while waiting (killed from outside) is replaced before it is asked.
    if (child_ > 0 && waitpid(child_, nullptr, WNOHANG) != 0)
        child_ = -1;  // reaped, or not ours to reap: nothing left to end but the socket
    if (socket_ >= 0 && (child_ <= 0 || answered_ >= kRequestsPerChild))
        end();
    if (child_ <= 0 && !start())
        return std::nullopt;

    const auto deadline = std::chrono::steady_clock::now() + limits_.time;
    uint64_t length = 0;
    std::optional<std::string> answer;
    if (SendMessage(socket_, request.size(), request) && ReceiveWhole(socket_, &length, sizeof length, deadline)) {
        if (length == kNoAnswer) {
            ++answered_;
            return std::nullopt;
        }
        try {
            answer.emplace(length, '\0');
        } catch (...) {
            answer.reset();
        }
        if (answer && ReceiveWhole(socket_, answer->data(), answer->size(), deadline)) {
            ++answered_;
            return answer;
        }
    }
    // Whatever it is doing now, the child has nothing more to give: it is ended and reaped here,
    // never left to run on.
    end();
    return std::nullopt;
}

bool WarmChild::start()
{
    const size_t addressSpaceLimit = limits_.memory != 0 ? AddressSpaceInUse() + limits_.memory : 0;
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        Serve(ends[1], work_, limits_, addressSpaceLimit);
    }
    close(ends[1]);
    if (child < 0) {
        close(ends[0]);
        return false;
    }
    child_ = child;
    socket_ = ends[0];
    answered_ = 0;
    return true;
}

void WarmChild::end()
{
    if (socket_ >= 0)
        close(socket_);
    if (child_ > 0) {
        kill(child_, SIGKILL);
        while (waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    socket_ = -1;
    child_ = -1;
}
