// Test helper: clears a pasteboard and puts COUNT items whose text names this writer, after
// waiting PAUSE milliseconds (so that concurrent writers all clear before any of them puts), with
// item IDs from FIRST on. With HOLD, it lets go of the pasteboard and then waits (ten seconds at
// most) until the file HOLD exists before it ends.
//   pasteboard_writer NAME COUNT TAG [PAUSE [FIRST [HOLD]]]
#include <HIServices/Pasteboard.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 4 || argc > 7) return 2;
    const long first = argc >= 6 ? std::atol(argv[5]) : 0;
    CFStringRef name = CFStringCreateWithCString(kCFAllocatorDefault, argv[1], kCFStringEncodingUTF8);
    PasteboardRef pasteboard = nullptr;
    if (PasteboardCreate(name, &pasteboard) != noErr) return 1;
    PasteboardClear(pasteboard);
    if (argc >= 5) usleep(static_cast<useconds_t>(std::atol(argv[4]) * 1000));
    int refused = 0;
    for (long item = 0; item < std::atol(argv[2]); ++item) {
        std::string text = std::string(argv[3]) + " " + std::to_string(item);
        CFDataRef data = CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text.data()), static_cast<CFIndex>(text.size()));
        if (PasteboardPutItemFlavor(pasteboard, reinterpret_cast<PasteboardItemID>(first + item), CFSTR("public.utf8-plain-text"), data, 0) != noErr)
            ++refused;
        CFRelease(data);
    }
    CFRelease(pasteboard);
    CFRelease(name);
    for (int wait = 0; argc == 7 && wait < 200 && access(argv[6], F_OK) != 0; ++wait) usleep(50000);
    return refused == 0 ? 0 : 3;
}
