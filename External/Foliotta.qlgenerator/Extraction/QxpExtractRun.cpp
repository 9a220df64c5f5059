#include "QxpExtractRun.h"

#include <HIServices/Pasteboard.h>
#include <ProcessSpawn/ProcessSpawn.h>

#include <atomic>
#include <random>
#include <unistd.h>

namespace {

// Unique among this user's runs: two previews of the same file may be open at once.
std::string PrivatePasteboardName() {
    static std::atomic<unsigned> runs{0};
    std::random_device entropy;
    return "foliotta-" + std::to_string(getpid()) + "-" + std::to_string(runs++) + "-" + std::to_string(entropy());
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

    spawn::Launch launch = {qxpextractPath, {qxpextractPath, mode, document, run.pasteboardName}, spawn::currentEnvironment()};
    launch.standardOutput = spawn::kNullDevice;
    const spawn::Ending ending = spawn::run(launch, timeLimit);
    switch (ending.kind) {
    case spawn::Ending::Kind::NotStarted: return run;
    case spawn::Ending::Kind::TimedOut: run.outcome = QxpExtractOutcome::TimedOut; break;
    case spawn::Ending::Kind::Signalled: run.outcome = QxpExtractOutcome::Failed; break;
    case spawn::Ending::Kind::Exited:
        run.outcome = ending.code == 0 ? QxpExtractOutcome::Finished : QxpExtractOutcome::Failed;
        break;
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
