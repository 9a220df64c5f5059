#include "RunLimits.h"

#include <algorithm>
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

    // A second bound, should the alarm be lost (a library that resets SIGALRM); killed two
    // seconds after it, should the handler not end the run.
    const rlimit cpu = {seconds, seconds + 2};
    setrlimit(RLIMIT_CPU, &cpu);
    LimitAddressSpace(bytes);
}

void LimitProcessorTimeFromNow(unsigned seconds)
{
    rusage used = {};
    rlimit cpu = {};
    if (getrusage(RUSAGE_SELF, &used) != 0 || getrlimit(RLIMIT_CPU, &cpu) != 0)
        return;
    // Whole seconds, rounded up, as the kernel counts them.
    const rlim_t spent = static_cast<rlim_t>(used.ru_utime.tv_sec + used.ru_stime.tv_sec) + 1;
    cpu.rlim_cur = cpu.rlim_max == RLIM_INFINITY ? spent + seconds : std::min(spent + seconds, cpu.rlim_max);
    setrlimit(RLIMIT_CPU, &cpu);
}

void LimitAddressSpace(size_t bytes)
{
#if !defined(__SANITIZE_ADDRESS__)
    if (bytes != 0) {
        const rlimit memory = {bytes, bytes};
        setrlimit(RLIMIT_AS, &memory);
    }
#else
    (void)bytes;
#endif
}
