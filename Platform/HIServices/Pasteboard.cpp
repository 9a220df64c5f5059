#include "Pasteboard.h"

#include "PasteboardStore.h"

#include <CoreFoundation/CFObject.h>

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <vector>

struct OpaquePasteboardRef : __CFObject {
    std::string name;
    std::string ownerToken;  // set by this reference's last clear
    int64_t putsSinceClear = 0;
    std::vector<PasteboardSnapshotItem> snapshot;
};

namespace {

std::string RandomHex(size_t bytes) {
    std::vector<unsigned char> buffer(bytes);
    int descriptor = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    bool filled = descriptor >= 0 && read(descriptor, buffer.data(), bytes) == static_cast<ssize_t>(bytes);
    if (descriptor >= 0) close(descriptor);
    if (!filled) {
        std::random_device device;
        for (auto& byte : buffer) byte = static_cast<unsigned char>(device());
    }
    std::string hex;
    char digits[3];
    for (unsigned char byte : buffer) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        hex += digits;
    }
    return hex;
}

std::optional<std::string> UTF8(CFStringRef string) {
    CFDataRef bytes = CFStringCreateExternalRepresentation(kCFAllocatorDefault, string, kCFStringEncodingUTF8, 0);
    if (bytes == nullptr) return std::nullopt;
    std::string text(reinterpret_cast<const char*>(CFDataGetBytePtr(bytes)), static_cast<size_t>(CFDataGetLength(bytes)));
    CFRelease(bytes);
    return text;
}

int64_t ItemNumber(PasteboardItemID item) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(item)); }

bool TakeSnapshot(PasteboardRef pasteboard) {
    PasteboardStore* store = PasteboardStore::Shared();
    if (store == nullptr) return false;
    auto items = store->Items(pasteboard->name);
    if (!items) return false;
    pasteboard->snapshot = std::move(*items);
    return true;
}

const PasteboardSnapshotItem* FindItem(PasteboardRef pasteboard, PasteboardItemID item) {
    for (const auto& entry : pasteboard->snapshot)
        if (entry.item == ItemNumber(item)) return &entry;
    return nullptr;
}

}  // namespace

OSStatus PasteboardCreate(CFStringRef inName, PasteboardRef* outPasteboard) {
    if (outPasteboard == nullptr) return paramErr;
    *outPasteboard = nullptr;
    std::string name;
    if (inName == kPasteboardUniqueName) {
        name = "Pasteboard-" + RandomHex(16);
    } else {
        std::optional<std::string> text = UTF8(inName);
        if (!text) return paramErr;
        name = *text;
    }
    if (PasteboardStore::Shared() == nullptr) return pasteboardStoreErr;
    auto* pasteboard = new OpaquePasteboardRef();
    pasteboard->name = std::move(name);
    TakeSnapshot(pasteboard);
    *outPasteboard = pasteboard;
    return noErr;
}

OSStatus PasteboardCopyName(PasteboardRef inPasteboard, CFStringRef* outName) {
    if (inPasteboard == nullptr || outName == nullptr) return paramErr;
    *outName = CFStringCreateWithCString(kCFAllocatorDefault, inPasteboard->name.c_str(), kCFStringEncodingUTF8);
    return *outName != nullptr ? noErr : paramErr;
}

OSStatus PasteboardClear(PasteboardRef inPasteboard) {
    if (inPasteboard == nullptr) return paramErr;
    PasteboardStore* store = PasteboardStore::Shared();
    if (store == nullptr) return pasteboardStoreErr;
    std::string token = RandomHex(16);
    if (!store->Clear(inPasteboard->name, token)) return pasteboardStoreErr;
    inPasteboard->ownerToken = std::move(token);
    inPasteboard->putsSinceClear = 0;
    inPasteboard->snapshot.clear();
    return noErr;
}

OSStatus PasteboardPutItemFlavor(PasteboardRef inPasteboard, PasteboardItemID inItem, CFStringRef inFlavorType,
                                 CFDataRef inData, PasteboardFlavorFlags) {
    if (inPasteboard == nullptr || inFlavorType == nullptr || inData == nullptr) return paramErr;
    if (inPasteboard->ownerToken.empty()) return notPasteboardOwnerErr;
    std::optional<std::string> flavor = UTF8(inFlavorType);
    if (!flavor) return badPasteboardFlavorErr;
    PasteboardStore* store = PasteboardStore::Shared();
    if (store == nullptr) return pasteboardStoreErr;
    switch (store->Put(inPasteboard->name, inPasteboard->ownerToken, ItemNumber(inItem), *flavor,
                       inPasteboard->putsSinceClear++, CFDataGetBytePtr(inData),
                       static_cast<size_t>(CFDataGetLength(inData)))) {
    case PasteboardStore::PutResult::Stored: return noErr;
    case PasteboardStore::PutResult::NotOwner: return notPasteboardOwnerErr;
    case PasteboardStore::PutResult::Failed: break;
    }
    return pasteboardStoreErr;
}

PasteboardSyncFlags PasteboardSynchronize(PasteboardRef inPasteboard) {
    if (inPasteboard == nullptr) return 0;
    std::vector<PasteboardSnapshotItem> before = inPasteboard->snapshot;
    TakeSnapshot(inPasteboard);
    PasteboardSyncFlags flags = 0;
    auto sameItems = [](const std::vector<PasteboardSnapshotItem>& a, const std::vector<PasteboardSnapshotItem>& b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].item != b[i].item || a[i].flavors != b[i].flavors) return false;
        return true;
    };
    if (!sameItems(before, inPasteboard->snapshot)) flags |= kPasteboardModified;
    PasteboardStore* store = PasteboardStore::Shared();
    std::optional<std::string> owner = store ? store->Owner(inPasteboard->name) : std::nullopt;
    if (owner && !inPasteboard->ownerToken.empty() && *owner == inPasteboard->ownerToken) flags |= kPasteboardClientIsOwner;
    return flags;
}

OSStatus PasteboardGetItemCount(PasteboardRef inPasteboard, ItemCount* outItemCount) {
    if (inPasteboard == nullptr || outItemCount == nullptr) return paramErr;
    *outItemCount = inPasteboard->snapshot.size();
    return noErr;
}

OSStatus PasteboardGetItemIdentifier(PasteboardRef inPasteboard, CFIndex inIndex, PasteboardItemID* outItem) {
    if (inPasteboard == nullptr || outItem == nullptr) return paramErr;
    if (inIndex < 1 || static_cast<size_t>(inIndex) > inPasteboard->snapshot.size()) return badPasteboardIndexErr;
    *outItem = reinterpret_cast<PasteboardItemID>(static_cast<intptr_t>(inPasteboard->snapshot[inIndex - 1].item));
    return noErr;
}

OSStatus PasteboardCopyItemFlavors(PasteboardRef inPasteboard, PasteboardItemID inItem, CFArrayRef* outFlavorTypes) {
    if (inPasteboard == nullptr || outFlavorTypes == nullptr) return paramErr;
    const PasteboardSnapshotItem* item = FindItem(inPasteboard, inItem);
    if (item == nullptr) return badPasteboardItemErr;
    std::vector<const void*> flavors;
    for (const std::string& flavor : item->flavors)
        flavors.push_back(CFStringCreateWithCString(kCFAllocatorDefault, flavor.c_str(), kCFStringEncodingUTF8));
    *outFlavorTypes = CFArrayCreate(kCFAllocatorDefault, flavors.data(), static_cast<CFIndex>(flavors.size()),
                                    &kCFTypeArrayCallBacks);
    for (const void* flavor : flavors) CFRelease(flavor);
    return noErr;
}

OSStatus PasteboardCopyItemFlavorData(PasteboardRef inPasteboard, PasteboardItemID inItem, CFStringRef inFlavorType,
                                      CFDataRef* outData) {
    if (inPasteboard == nullptr || inFlavorType == nullptr || outData == nullptr) return paramErr;
    *outData = nullptr;
    if (FindItem(inPasteboard, inItem) == nullptr) return badPasteboardItemErr;
    std::optional<std::string> flavor = UTF8(inFlavorType);
    PasteboardStore* store = PasteboardStore::Shared();
    if (!flavor || store == nullptr) return badPasteboardFlavorErr;
    auto data = store->Data(inPasteboard->name, ItemNumber(inItem), *flavor);
    // Cleared by someone else since the snapshot: the caller must synchronise again.
    if (!data) return badPasteboardFlavorErr;
    *outData = CFDataCreate(kCFAllocatorDefault, data->data(), static_cast<CFIndex>(data->size()));
    return noErr;
}

Boolean PasteboardExists(PasteboardRef inPasteboard) {
    PasteboardStore* store = PasteboardStore::Shared();
    return inPasteboard != nullptr && store != nullptr && store->Owner(inPasteboard->name).has_value();
}
