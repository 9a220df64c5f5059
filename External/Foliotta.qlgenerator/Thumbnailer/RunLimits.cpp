#include "RunLimits.h"

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

namespace {

void (*undoPartialWorkOverLimit)() = nullptr;  // set once, before the signals are handled

void EndOverLimit(int)
{
    if (undoPartialWorkOverLimit != nullptr)
        undoPartialWorkOverLimit();
    _exit(kRunOverLimitStatus);
}

}  // namespace

void ImposeRunLimits(unsigned seconds, size_t bytes, void (*undoPartialWork)())
{
    undoPartialWorkOverLimit = undoPartialWork;
    struct sigaction action = {};
    action.sa_handler = EndOverLimit;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    sigaction(SIGXCPU, &action, nullptr);
    alarm(seconds);

    // A second bound, should the alarm be lost (a library that resets SIGALRM).
    LimitProcessorTimeAndAddressSpace(seconds, bytes);
}

void LimitProcessorTimeAndAddressSpace(unsigned seconds, size_t bytes)
{
    const rlimit cpu = {seconds, seconds + 2};
    setrlimit(RLIMIT_CPU, &cpu);
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer reserves terabytes of address space for its own bookkeeping.
    if (bytes != 0) {
        const rlimit memory = {bytes, bytes};
        setrlimit(RLIMIT_AS, &memory);
    }
#else
    (void)bytes;
#endif
}
