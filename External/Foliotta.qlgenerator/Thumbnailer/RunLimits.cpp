#include "RunLimits.h"

#include <climits>
#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

namespace {

char pendingFile[PATH_MAX];  // read by the signal handler; empty when there is none
volatile sig_atomic_t pendingFileSet = 0;

void EndOverLimit(int)
{
    if (pendingFileSet)
        unlink(pendingFile);
    _exit(kRunOverLimitStatus);
}

}  // namespace

void RemoveWhenOverLimit(const char* path)
{
    pendingFileSet = 0;
    if (path == nullptr || std::strlen(path) >= sizeof pendingFile)
        return;
    std::strcpy(pendingFile, path);
    pendingFileSet = 1;
}

void ImposeRunLimits(unsigned seconds, size_t bytes)
{
    struct sigaction action = {};
    action.sa_handler = EndOverLimit;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    sigaction(SIGXCPU, &action, nullptr);
    alarm(seconds);

    // The processor limit catches a run that stops the wall clock from being seen (a stopped
    // alarm); its hard limit a little later kills outright.
    const rlimit cpu = {seconds, seconds + 2};
    setrlimit(RLIMIT_CPU, &cpu);
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer reserves terabytes of address space for its own bookkeeping.
    const rlimit memory = {bytes, bytes};
    setrlimit(RLIMIT_AS, &memory);
#else
    (void)bytes;
#endif
}
