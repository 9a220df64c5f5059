// The SQLite database that holds every named pasteboard of this user (private to the stand-in).
#pragma once

#include <HIServices/Pasteboard.h>
#include "PasteboardStoreFolder.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

struct PasteboardSnapshotItem {
    int64_t item;
    std::vector<std::string> flavors;  // in the order they were first put
};

class PasteboardStore {
public:
    // The store of this user. It opens on first use and again after a failure, so one failed call
    // does not fail every later one; a store SQLite calls damaged is set aside and rebuilt.
    static PasteboardStore& Shared();

    // Committed at once, so other processes see the new owner. When the clear cannot be stored for
    // lack of space, the whole store is removed: a reader must find nothing rather than the items of
    // an earlier run under this run's name.
    bool Clear(const std::string& name, const std::string& ownerToken);
    // The pasteboard and its items leave the store, as if nobody had ever cleared it.
    bool Remove(const std::string& name);
    enum class PutResult { Stored, NotOwner, Failed };
    // position orders the items; the owner numbers its puts since its clear. Puts go into one
    // transaction that holds the store's write lock until Commit.
    PutResult Put(const std::string& name, const std::string& ownerToken, int64_t item, const std::string& flavor,
                  int64_t position, const uint8_t* bytes, size_t length);
    // Hands this process's puts over to the other processes, and ends the view of a snapshot.
    void Commit();
    // Starts a view of the store that later reads share, until Commit or the next Items.
    std::optional<std::vector<PasteboardSnapshotItem>> Items(const std::string& name);
    std::optional<std::vector<uint8_t>> Data(const std::string& name, int64_t item, const std::string& flavor);
    // No value both when nobody ever cleared the pasteboard and when the store failed (see Failure).
    std::optional<std::string> Owner(const std::string& name);

    // Why the latest call failed, if the store was the reason.
    PasteboardStoreFailure Failure(std::string* description);

    // Where the store lives: $XDG_RUNTIME_DIR/pasteboards, else a private folder in /tmp.
    static std::string Folder();

    // Commits, then folds the write-ahead log back into the database; every later call fails.
    void Close();

private:
    PasteboardStore();
    ~PasteboardStore() = delete;  // lives until the process ends; closed by an exit handler

    // Runs one step against the open store; a damaged store is rebuilt and the step tried once more.
    // The step returns SQLite's status.
    template <typename Step>
    bool Attempt(Step&& step, bool removeStoreWhenFull = false);
    bool EnsureOpen();
    bool OpenLocked();  // with the folder's lock held
    void Disconnect();
    bool Replace(PasteboardStoreFailure cause);
    bool Fail(PasteboardStoreFailure failure, const std::string& reason);
    bool FailFromStatus(int status);
    PasteboardStoreFailure Classify(int status) const;

    sqlite3_stmt* Prepare(const char* sql);
    int Execute(const char* sql);
    int EndTransaction();

    std::mutex lock_;
    PasteboardStoreFolder folder_;
    sqlite3* database_ = nullptr;
    PasteboardStoreFolder::Identity opened_;  // the file this connection opened
    bool closed_ = false;
    // Reads of one snapshot share one transaction (one lock, one consistent view); puts share another.
    enum class Transaction { None, Read, Write } transaction_ = Transaction::None;
    PasteboardStoreFailure failure_ = kPasteboardStoreNoFailure;
    std::string failureDescription_;
    std::map<const char*, sqlite3_stmt*> prepared_;  // kept: a list of thousands of items is put one by one
};
