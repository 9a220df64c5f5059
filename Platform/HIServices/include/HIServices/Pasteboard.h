// Named pasteboards of one user, shared between that user's processes and kept after the
// process that wrote them ends. Shaped like the Pasteboard Manager.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

typedef struct OpaquePasteboardRef* PasteboardRef;
typedef void* PasteboardItemID;
typedef CFStringRef PasteboardFlavorType;
typedef UInt32 OptionBits;
typedef OptionBits PasteboardFlavorFlags;
typedef OptionBits PasteboardSyncFlags;

enum : PasteboardFlavorFlags { kPasteboardFlavorNoFlags = 0 };
enum : PasteboardSyncFlags { kPasteboardModified = 1 << 0, kPasteboardClientIsOwner = 1 << 1 };

enum : OSStatus {
    badPasteboardSyncErr = -25130,
    badPasteboardIndexErr = -25131,
    badPasteboardItemErr = -25132,
    badPasteboardFlavorErr = -25133,
    duplicatePasteboardFlavorErr = -25134,
    notPasteboardOwnerErr = -25135,
    noPasteboardPromiseKeeperErr = -25136,
    // Not the platform's: the shared pasteboard store could not be opened or written.
    pasteboardStoreErr = -25140,
};

#define kPasteboardUniqueName ((CFStringRef)NULL)

// A null name makes a pasteboard with a new unique name. The reference is released with CFRelease.
// The store is opened by the first call that needs it, so a store that cannot be used shows as
// pasteboardStoreErr from that call.
OSStatus PasteboardCreate(CFStringRef inName, PasteboardRef* outPasteboard);
OSStatus PasteboardCopyName(PasteboardRef inPasteboard, CFStringRef* outName);

// Empties the pasteboard and makes this reference its owner. Once another reference clears it,
// puts through this one fail with notPasteboardOwnerErr. A clear that cannot be stored for lack of
// space removes the whole store, so that no reader finds the earlier items under this name.
OSStatus PasteboardClear(PasteboardRef inPasteboard);
// Item order is the order of first put; a second put of the same item and flavour replaces the data.
// This process's puts reach other processes together, when the reference is synchronised or
// released or the process ends; until then another process's clear waits, so it never lands
// between them.
OSStatus PasteboardPutItemFlavor(PasteboardRef inPasteboard, PasteboardItemID inItem, CFStringRef inFlavorType,
                                 CFDataRef inData, PasteboardFlavorFlags inFlags);

// Reading works on a snapshot taken at the first read and at each synchronisation; the data read
// through a reference is that of its snapshot until it is synchronised or released.
PasteboardSyncFlags PasteboardSynchronize(PasteboardRef inPasteboard);
OSStatus PasteboardGetItemCount(PasteboardRef inPasteboard, ItemCount* outItemCount);
// inIndex counts from 1, as on the platform.
OSStatus PasteboardGetItemIdentifier(PasteboardRef inPasteboard, CFIndex inIndex, PasteboardItemID* outItem);
OSStatus PasteboardCopyItemFlavors(PasteboardRef inPasteboard, PasteboardItemID inItem, CFArrayRef* outFlavorTypes);
OSStatus PasteboardCopyItemFlavorData(PasteboardRef inPasteboard, PasteboardItemID inItem, CFStringRef inFlavorType,
                                      CFDataRef* outData);

// Not the platform's: whether anything ever cleared or wrote this pasteboard (for command-line readers).
Boolean PasteboardExists(PasteboardRef inPasteboard);

// Not the platform's: removes the pasteboard and its items from the store, so that a pasteboard
// made for one exchange between two processes does not outlive it. The reference stays usable:
// a later clear makes the pasteboard again.
OSStatus PasteboardRemove(PasteboardRef inPasteboard);

// Not the platform's: why the store failed the latest call of this process, if it did, with a
// one-line description naming the store and the reason (for command-line readers). A store that
// SQLite calls damaged is set aside and rebuilt by the call that finds it, so "damaged" means it
// could not be set aside.
typedef UInt32 PasteboardStoreFailure;
enum : PasteboardStoreFailure {
    kPasteboardStoreNoFailure = 0,
    kPasteboardStoreUnsafe,    // the folder or file is a link or someone else's
    kPasteboardStoreDamaged,
    kPasteboardStoreNoSpace,
    kPasteboardStoreUnusable,  // anything else: a read-only folder, a lock held too long
};
PasteboardStoreFailure PasteboardCopyStoreFailure(CFStringRef* outDescription);
