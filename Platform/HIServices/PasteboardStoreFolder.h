// The folder that holds the pasteboard store: the database, its write-ahead log and shared-memory
// index, a lock file, and at most one damaged store set aside (private to the stand-in).
#pragma once

#include <HIServices/Pasteboard.h>

#include <string>
#include <sys/types.h>

class PasteboardStoreFolder {
public:
    explicit PasteboardStoreFolder(std::string path);

    const std::string& path() const { return path_; }
    std::string StoreFile() const { return path_ + "/pasteboards.sqlite"; }
    std::string DamagedFile() const { return StoreFile() + ".damaged"; }

    // Makes the folder if missing and checks that only this user can enter it (a link, or a folder
    // someone else owns, could let another user read or plant pasteboards). On failure, says why.
    PasteboardStoreFailure MakePrivate(std::string* reason) const;
    // The same for the store file, made empty (0600) if missing; called with the folder locked.
    PasteboardStoreFailure MakeStoreFilePrivate(std::string* reason) const;

    // Held while a process opens, sets aside or removes the store, so that no process opens a
    // store whose log another process is replacing.
    class Lock {
    public:
        explicit Lock(const PasteboardStoreFolder& folder);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        int error() const { return error_; }  // 0 when held

    private:
        int descriptor_ = -1;
        int error_ = 0;
    };

    // Which file the store path names now, to tell whether another process has already replaced it.
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const Identity&) const = default;
    };
    Identity StoreIdentity() const;

    // Renames a damaged store out of the way (keeping the latest one to look at) and drops its log.
    bool SetAsideDamagedStore(std::string* reason) const;
    // Removes every file of the store; needs no free space, so it works on a full disk.
    bool RemoveStore(std::string* reason) const;

private:
    std::string path_;
};
