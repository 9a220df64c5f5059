// A child process, made with fork() and no exec, that answers requests one after another. It
// starts with the drawing code already loaded and stays for the next request, so a request costs
// little more than drawing in place: a fork per request cost more than the drawing itself in KDE's
// thumbnail worker (its page tables copied, its pages faulted in again each time). Yet a request
// that crashes the reader, hangs it or swamps the memory takes only the child down, and the next
// request gets a new child.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include <sys/types.h>

struct ChildLimits {
    std::chrono::milliseconds time;  // wall clock, and processor time, for each request; then the child is killed
    size_t memory;                   // address space the child may add to what it starts with (0: no bound)
    char** environment = nullptr;    // the child's environment (nullptr: this process's)
};

class WarmChild {
public:
    // What the child does with each request's bytes.
    using Work = std::function<std::optional<std::string>(const std::string& request)>;

    WarmChild(Work work, ChildLimits limits);
    ~WarmChild();  // the child, if any, is ended and reaped
    WarmChild(const WarmChild&) = delete;
    WarmChild& operator=(const WarmChild&) = delete;

    // What `work` returns for this request, computed in the child; nullopt when it returned
    // nullopt, or the child died, overran its time (it is killed then) or could not be started.
    // The calling process is untouched: no signal handlers, limits or environment change here.
    std::optional<std::string> ask(const std::string& request);

private:
    bool start();
    void end();

    const Work work_;
    const ChildLimits limits_;
    std::mutex asking_;
    pid_t child_ = -1;
    int socket_ = -1;
    int answered_ = 0;  // by this child: it is replaced after a while, so that what a reader leaks stays bounded
};
