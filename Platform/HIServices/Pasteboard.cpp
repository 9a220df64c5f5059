#include <HIServices/Pasteboard.h>

#include "PasteboardStore.h"

#include <CoreFoundation/CFObject.h>

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <unordered_map>
#include <vector>

struct OpaquePasteboardRef : __CFObject {
    std::string name;
    std::string ownerToken;  // set by this reference's last clear
    int64_t putsSinceClear = 0;
    bool snapshotTaken = false;  // a writer never reads, so it never pays for a snapshot
    std::vector<PasteboardSnapshotItem> snapshot;
    std::unordered_map<int64_t, size_t> snapshotIndex;  // item -> its place in snapshot

    ~OpaquePasteboardRef() override {
        // Letting go of a pasteboard hands what this process put over to other processes, and lets
        // go of the view its snapshot was read from.
        if (!ownerToken.empty() || snapshotTaken) PasteboardStore::Shared().Commit();
    }
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

void SetSnapshot(PasteboardRef pasteboard, std::vector<PasteboardSnapshotItem> items) {
    pasteboard->snapshot = std::move(items);
    pasteboard->snapshotIndex.clear();
    pasteboard->snapshotIndex.reserve(pasteboard->snapshot.size());
    for (size_t index = 0; index < pasteboard->snapshot.size(); ++index)
        pasteboard->snapshotIndex.emplace(pasteboard->snapshot[index].item, index);
    pasteboard->snapshotTaken = true;
}

bool TakeSnapshot(PasteboardRef pasteboard) {
    auto items = PasteboardStore::Shared().Items(pasteboard->name);
    if (!items) return false;
    SetSnapshot(pasteboard, std::move(*items));
    return true;
}

bool EnsureSnapshot(PasteboardRef pasteboard) { return pasteboard->snapshotTaken || TakeSnapshot(pasteboard); }

const PasteboardSnapshotItem* FindItem(PasteboardRef pasteboard, PasteboardItemID item) {
    auto found = pasteboard->snapshotIndex.find(ItemNumber(item));
    return found == pasteboard->snapshotIndex.end() ? nullptr : &pasteboard->snapshot[found->second];
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
    auto* pasteboard = new OpaquePasteboardRef();
    pasteboard->name = std::move(name);
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
    std::string token = RandomHex(16);
    if (!PasteboardStore::Shared().Clear(inPasteboard->name, token)) return pasteboardStoreErr;
    inPasteboard->ownerToken = std::move(token);
    inPasteboard->putsSinceClear = 0;
    SetSnapshot(inPasteboard, {});
    return noErr;
}

OSStatus PasteboardPutItemFlavor(PasteboardRef inPasteboard, PasteboardItemID inItem, CFStringRef inFlavorType,
                                 CFDataRef inData, PasteboardFlavorFlags) {
    if (inPasteboard == nullptr || inFlavorType == nullptr || inData == nullptr) return paramErr;
    if (inPasteboard->ownerToken.empty()) return notPasteboardOwnerErr;
    std::optional<std::string> flavor = UTF8(inFlavorType);
    if (!flavor) return badPasteboardFlavorErr;
    switch (PasteboardStore::Shared().Put(inPasteboard->name, inPasteboard->ownerToken, ItemNumber(inItem), *flavor,
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
    PasteboardStore& store = PasteboardStore::Shared();
    store.Commit();
    std::vector<PasteboardSnapshotItem> before = std::move(inPasteboard->snapshot);
    if (!TakeSnapshot(inPasteboard)) SetSnapshot(inPasteboard, {});
    PasteboardSyncFlags flags = 0;
    auto sameItems = [](const std::vector<PasteboardSnapshotItem>& a, const std::vector<PasteboardSnapshotItem>& b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].item != b[i].item || a[i].flavors != b[i].flavors) return false;
        return true;
    };
    if (!sameItems(before, inPasteboard->snapshot)) flags |= kPasteboardModified;
    std::optional<std::string> owner = store.Owner(inPasteboard->name);
    if (owner && !inPasteboard->ownerToken.empty() && *owner == inPasteboard->ownerToken) flags |= kPasteboardClientIsOwner;
    return flags;
}

OSStatus PasteboardGetItemCount(PasteboardRef inPasteboard, ItemCount* outItemCount) {
    if (inPasteboard == nullptr || outItemCount == nullptr) return paramErr;
    *outItemCount = 0;
    if (!EnsureSnapshot(inPasteboard)) return pasteboardStoreErr;
    *outItemCount = inPasteboard->snapshot.size();
    return noErr;
}

OSStatus PasteboardGetItemIdentifier(PasteboardRef inPasteboard, CFIndex inIndex, PasteboardItemID* outItem) {
    if (inPasteboard == nullptr || outItem == nullptr) return paramErr;
    if (!EnsureSnapshot(inPasteboard)) return pasteboardStoreErr;
    if (inIndex < 1 || static_cast<size_t>(inIndex) > inPasteboard->snapshot.size()) return badPasteboardIndexErr;
    *outItem = reinterpret_cast<PasteboardItemID>(static_cast<intptr_t>(inPasteboard->snapshot[inIndex - 1].item));
    return noErr;
}

OSStatus PasteboardCopyItemFlavors(PasteboardRef inPasteboard, PasteboardItemID inItem, CFArrayRef* outFlavorTypes) {
    if (inPasteboard == nullptr || outFlavorTypes == nullptr) return paramErr;
    if (!EnsureSnapshot(inPasteboard)) return pasteboardStoreErr;
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
    if (!EnsureSnapshot(inPasteboard)) return pasteboardStoreErr;
    if (FindItem(inPasteboard, inItem) == nullptr) return badPasteboardItemErr;
    std::optional<std::string> flavor = UTF8(inFlavorType);
    if (!flavor) return badPasteboardFlavorErr;
    auto data = PasteboardStore::Shared().Data(inPasteboard->name, ItemNumber(inItem), *flavor);
    // Cleared by someone else since the snapshot: the caller must synchronise again.
    if (!data) return badPasteboardFlavorErr;
    *outData = CFDataCreate(kCFAllocatorDefault, data->data(), static_cast<CFIndex>(data->size()));
    return noErr;
}

Boolean PasteboardExists(PasteboardRef inPasteboard) {
    return inPasteboard != nullptr && PasteboardStore::Shared().Owner(inPasteboard->name).has_value();
}

OSStatus PasteboardRemove(PasteboardRef inPasteboard) {
    if (inPasteboard == nullptr) return paramErr;
    if (!PasteboardStore::Shared().Remove(inPasteboard->name)) return pasteboardStoreErr;
    inPasteboard->ownerToken.clear();
    inPasteboard->putsSinceClear = 0;
    SetSnapshot(inPasteboard, {});
    return noErr;
}

PasteboardStoreFailure PasteboardCopyStoreFailure(CFStringRef* outDescription) {
    std::string description;
    PasteboardStoreFailure failure = PasteboardStore::Shared().Failure(&description);
    if (outDescription != nullptr)
        *outDescription = failure == kPasteboardStoreNoFailure
                              ? nullptr
                              : CFStringCreateWithCString(kCFAllocatorDefault, description.c_str(), kCFStringEncodingUTF8);
    return failure;
}
