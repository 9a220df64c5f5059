// Reads back every item of a named pasteboard, in order, as a test sees it from outside, and
// leaves one there as an earlier run would have.
#pragma once

#include <HIServices/Pasteboard.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct PasteboardEntry {
    intptr_t item;
    std::string flavor;
    std::string data;
};

inline std::string CFText(CFStringRef string) {
    CFDataRef bytes = CFStringCreateExternalRepresentation(kCFAllocatorDefault, string, kCFStringEncodingUTF8, '?');
    std::string text(reinterpret_cast<const char*>(CFDataGetBytePtr(bytes)), static_cast<size_t>(CFDataGetLength(bytes)));
    CFRelease(bytes);
    return text;
}

inline std::vector<PasteboardEntry> PasteboardContents(const std::string& name) {
    std::vector<PasteboardEntry> entries;
    CFStringRef cfName = CFStringCreateWithCString(kCFAllocatorDefault, name.c_str(), kCFStringEncodingUTF8);
    PasteboardRef pasteboard = nullptr;
    if (PasteboardCreate(cfName, &pasteboard) == noErr) {
        PasteboardSynchronize(pasteboard);
        ItemCount count = 0;
        PasteboardGetItemCount(pasteboard, &count);
        for (CFIndex index = 1; index <= static_cast<CFIndex>(count); ++index) {
            PasteboardItemID item = nullptr;
            CFArrayRef flavors = nullptr;
            PasteboardGetItemIdentifier(pasteboard, index, &item);
            if (PasteboardCopyItemFlavors(pasteboard, item, &flavors) != noErr) continue;
            for (CFIndex f = 0; f < CFArrayGetCount(flavors); ++f) {
                auto flavor = static_cast<CFStringRef>(CFArrayGetValueAtIndex(flavors, f));
                CFDataRef data = nullptr;
                if (PasteboardCopyItemFlavorData(pasteboard, item, flavor, &data) != noErr) continue;
                entries.push_back({reinterpret_cast<intptr_t>(item), CFText(flavor),
                                   std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                                               static_cast<size_t>(CFDataGetLength(data)))});
                CFRelease(data);
            }
            CFRelease(flavors);
        }
        CFRelease(pasteboard);
    }
    CFRelease(cfName);
    return entries;
}

// Leaves one item on the pasteboard, as an earlier run would have.
inline void PutMarker(const std::string& name, intptr_t item, const std::string& text) {
    CFStringRef cfName = CFStringCreateWithCString(kCFAllocatorDefault, name.c_str(), kCFStringEncodingUTF8);
    PasteboardRef pasteboard = nullptr;
    PasteboardCreate(cfName, &pasteboard);
    PasteboardClear(pasteboard);
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text.data()), static_cast<CFIndex>(text.size()));
    PasteboardPutItemFlavor(pasteboard, reinterpret_cast<PasteboardItemID>(item), CFSTR("public.utf8-plain-text"), data, 0);
    CFRelease(data);
    CFRelease(pasteboard);
    CFRelease(cfName);
}

inline std::vector<intptr_t> ItemIDs(const std::vector<PasteboardEntry>& entries) {
    std::vector<intptr_t> ids;
    for (const auto& entry : entries) ids.push_back(entry.item);
    return ids;
}

inline std::map<intptr_t, std::string> ByItem(const std::vector<PasteboardEntry>& entries) {
    std::map<intptr_t, std::string> items;
    for (const auto& entry : entries) items[entry.item] = entry.data;
    return items;
}
