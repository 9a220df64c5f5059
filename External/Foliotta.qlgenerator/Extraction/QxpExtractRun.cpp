#include "QxpExtractRun.h"

#include <HIServices/Pasteboard.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Unique among this user's runs: two previews of the same file may be open at once.
std::string PrivatePasteboardName() {
    static std::atomic<unsigned> runs{0};
    std::random_device entropy;
    return "foliotta-" + std::to_string(getpid()) + "-" + std::to_string(runs++) + "-" + std::to_string(entropy());
}

pid_t StartTool(const std::string& tool, const std::string& mode, const std::string& document, const std::string& pasteboard) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string arguments[] = {tool, mode, document, pasteboard};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), arguments[3].data(), nullptr};
    pid_t child = -1;
    const int status = posix_spawn(&child, tool.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return status == 0 ? child : -1;
}

// Waits for the child up to the limit; a child still running then is killed. Returns the wait
// status, or nothing when the limit was reached.
bool WaitWithin(pid_t child, std::chrono::milliseconds limit, int* waitStatus) {
    const int processDescriptor = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    bool ended = true;
    if (processDescriptor >= 0) {
        pollfd watch{processDescriptor, POLLIN, 0};
        int ready = 0;
        while ((ready = poll(&watch, 1, static_cast<int>(limit.count()))) < 0 && errno == EINTR) {
        }
        ended = ready > 0;
        close(processDescriptor);
    }
    if (!ended) kill(child, SIGKILL);
    while (waitpid(child, waitStatus, 0) < 0 && errno == EINTR) {
    }
    return ended;
}

std::string Bytes(CFDataRef data) {
    return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)), static_cast<size_t>(CFDataGetLength(data)));
}

void ReadItems(PasteboardRef pasteboard, std::map<intptr_t, std::string>* items) {
    PasteboardSynchronize(pasteboard);
    ItemCount count = 0;
    PasteboardGetItemCount(pasteboard, &count);
    for (CFIndex index = 1; index <= static_cast<CFIndex>(count); ++index) {
        PasteboardItemID item = nullptr;
        CFArrayRef flavors = nullptr;
        if (PasteboardGetItemIdentifier(pasteboard, index, &item) != noErr ||
            PasteboardCopyItemFlavors(pasteboard, item, &flavors) != noErr)
            continue;
        // Each item carries exactly one flavour: text or PNG.
        if (CFArrayGetCount(flavors) > 0) {
            auto flavor = static_cast<CFStringRef>(CFArrayGetValueAtIndex(flavors, 0));
            CFDataRef data = nullptr;
            if (PasteboardCopyItemFlavorData(pasteboard, item, flavor, &data) == noErr) {
                (*items)[reinterpret_cast<intptr_t>(item)] = Bytes(data);
                CFRelease(data);
            }
        }
        CFRelease(flavors);
    }
}

}  // namespace

QxpExtractItems RunQxpExtract(const std::string& qxpextractPath, const std::string& mode, const std::string& document,
                              std::chrono::milliseconds timeLimit) {
    QxpExtractItems run;
    run.pasteboardName = PrivatePasteboardName();

    const pid_t child = StartTool(qxpextractPath, mode, document, run.pasteboardName);
    if (child < 0) return run;
    int waitStatus = 0;
    if (!WaitWithin(child, timeLimit, &waitStatus)) {
        run.outcome = QxpExtractOutcome::TimedOut;
    } else if (!WIFEXITED(waitStatus) || WEXITSTATUS(waitStatus) != 0) {
        run.outcome = QxpExtractOutcome::Failed;
    } else {
        run.outcome = QxpExtractOutcome::Finished;
    }

    CFStringRef name = CFStringCreateWithCString(kCFAllocatorDefault, run.pasteboardName.c_str(), kCFStringEncodingUTF8);
    PasteboardRef pasteboard = nullptr;
    if (PasteboardCreate(name, &pasteboard) != noErr || pasteboard == nullptr) {
        if (run.outcome == QxpExtractOutcome::Finished) run.outcome = QxpExtractOutcome::NoPasteboard;
    } else {
        // A run that was stopped or failed may have left part of its items: none of them count.
        if (run.outcome == QxpExtractOutcome::Finished) ReadItems(pasteboard, &run.data);
        PasteboardRemove(pasteboard);
        CFRelease(pasteboard);
    }
    CFRelease(name);
    return run;
}
