// pbutil: the command-line window on named pasteboards.
//   pbutil list NAME               one line per item and flavour: ID, flavour, byte count (tab-separated)
//   pbutil get NAME ITEM FLAVOUR   the data, unchanged, on standard output
//   pbutil clear NAME              empties the pasteboard
#include <HIServices/Pasteboard.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "pbutil: %s\n", message.c_str());
    return 1;
}

constexpr const char* kUsage = "usage: pbutil list NAME | pbutil get NAME ITEM FLAVOUR | pbutil clear NAME\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

int Help() {
    std::fputs(kUsage, stdout);
    std::fputs("Reads and clears the named pasteboards that qxpextract writes.\n"
               "  list NAME               one line per item and flavour: ID, flavour, byte count\n"
               "  get NAME ITEM FLAVOUR   the data of one item in one flavour, on standard output\n"
               "  clear NAME              removes every item\n"
               "  --help, --version       this text, the version\n",
               stdout);
    return 0;
}

std::string Text(CFStringRef string) {
    CFDataRef bytes = CFStringCreateExternalRepresentation(kCFAllocatorDefault, string, kCFStringEncodingUTF8, '?');
    std::string text(reinterpret_cast<const char*>(CFDataGetBytePtr(bytes)), static_cast<size_t>(CFDataGetLength(bytes)));
    CFRelease(bytes);
    return text;
}

bool ParseItem(const char* text, intptr_t* item) {
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0') return false;
    *item = static_cast<intptr_t>(value);
    return true;
}

// The store's own account of why the last call failed, or the given message when the store did not fail.
int FailBecause(const std::string& otherwise) {
    CFStringRef description = nullptr;
    if (PasteboardCopyStoreFailure(&description) == kPasteboardStoreNoFailure || description == nullptr)
        return Fail(otherwise);
    std::string text = Text(description);
    CFRelease(description);
    return Fail(text);
}

// The named pasteboard, or null (with the message already printed) when nobody ever wrote it.
PasteboardRef OpenExisting(const char* name) {
    CFStringRef cfName = CFStringCreateWithCString(kCFAllocatorDefault, name, kCFStringEncodingUTF8);
    if (cfName == nullptr) {
        Fail(std::string("pasteboard name is not UTF-8: ") + name);
        return nullptr;
    }
    PasteboardRef pasteboard = nullptr;
    OSStatus status = PasteboardCreate(cfName, &pasteboard);
    CFRelease(cfName);
    if (status != noErr) {
        Fail("cannot make a pasteboard (status " + std::to_string(status) + ")");
        return nullptr;
    }
    if (!PasteboardExists(pasteboard)) {
        CFRelease(pasteboard);
        FailBecause(std::string("no such pasteboard: ") + name);
        return nullptr;
    }
    return pasteboard;
}

int List(PasteboardRef pasteboard) {
    ItemCount count = 0;
    if (PasteboardGetItemCount(pasteboard, &count) != noErr) return FailBecause("cannot read the pasteboard");
    for (CFIndex index = 1; index <= static_cast<CFIndex>(count); ++index) {
        PasteboardItemID item = nullptr;
        CFArrayRef flavors = nullptr;
        if (PasteboardGetItemIdentifier(pasteboard, index, &item) != noErr ||
            PasteboardCopyItemFlavors(pasteboard, item, &flavors) != noErr)
            continue;
        for (CFIndex f = 0; f < CFArrayGetCount(flavors); ++f) {
            auto flavor = static_cast<CFStringRef>(CFArrayGetValueAtIndex(flavors, f));
            CFDataRef data = nullptr;
            // An item cleared away since the snapshot is left out.
            if (PasteboardCopyItemFlavorData(pasteboard, item, flavor, &data) != noErr) continue;
            std::printf("%" PRIdPTR "\t%s\t%ld\n", reinterpret_cast<intptr_t>(item), Text(flavor).c_str(),
                        static_cast<long>(CFDataGetLength(data)));
            CFRelease(data);
        }
        CFRelease(flavors);
    }
    return 0;
}

int Get(PasteboardRef pasteboard, const char* itemText, const char* flavorText) {
    intptr_t itemNumber = 0;
    if (!ParseItem(itemText, &itemNumber)) return Fail(std::string("not an item ID: ") + itemText);
    CFStringRef flavor = CFStringCreateWithCString(kCFAllocatorDefault, flavorText, kCFStringEncodingUTF8);
    if (flavor == nullptr) return Fail(std::string("flavour is not UTF-8: ") + flavorText);
    CFDataRef data = nullptr;
    OSStatus status = PasteboardCopyItemFlavorData(pasteboard, reinterpret_cast<PasteboardItemID>(itemNumber), flavor, &data);
    CFRelease(flavor);
    if (status == pasteboardStoreErr) return FailBecause("cannot read the pasteboard");
    if (status == badPasteboardItemErr) return Fail(std::string("no such item: ") + itemText);
    if (status != noErr) return Fail(std::string("item ") + itemText + " has no flavour " + flavorText);
    size_t length = static_cast<size_t>(CFDataGetLength(data));
    bool written = std::fwrite(CFDataGetBytePtr(data), 1, length, stdout) == length && std::fflush(stdout) == 0;
    CFRelease(data);
    return written ? 0 : Fail("cannot write to standard output");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) return Help();
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) return std::printf("pbutil %s\n", ORVELLA_VERSION) < 0;
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    if (!(command == "list" && argc == 3) && !(command == "clear" && argc == 3) && !(command == "get" && argc == 5))
        return Usage();
    PasteboardRef pasteboard = OpenExisting(argv[2]);
    if (pasteboard == nullptr) return 1;
    int status = 0;
    if (command == "list") {
        status = List(pasteboard);
    } else if (command == "get") {
        status = Get(pasteboard, argv[3], argv[4]);
    } else {
        status = PasteboardClear(pasteboard) == noErr ? 0 : FailBecause("cannot clear the pasteboard");
    }
    CFRelease(pasteboard);
    return status;
}
