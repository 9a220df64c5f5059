#include "PasteboardStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <unordered_map>

namespace {

class Statement {
public:
    explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
    ~Statement() {
        if (statement_ != nullptr) {
            sqlite3_reset(statement_);
            sqlite3_clear_bindings(statement_);
        }
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool valid() const { return statement_ != nullptr; }
    Statement& text(int index, const std::string& value) {
        sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& integer(int index, int64_t value) {
        sqlite3_bind_int64(statement_, index, value);
        return *this;
    }
    Statement& blob(int index, const uint8_t* bytes, size_t length) {
        // A zero-length blob must still be a blob, not NULL.
        static const uint8_t empty = 0;
        sqlite3_bind_blob64(statement_, index, length ? bytes : &empty, length, SQLITE_TRANSIENT);
        return *this;
    }
    int step() { return sqlite3_step(statement_); }
    void reset() { sqlite3_reset(statement_); }
    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_;
};

bool Succeeded(int status) { return status == SQLITE_OK || status == SQLITE_DONE || status == SQLITE_ROW; }

}  // namespace

std::string PasteboardStore::Folder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return std::string(runtime) + "/pasteboards";
    return "/tmp/pasteboards-" + std::to_string(geteuid());
}

PasteboardStore& PasteboardStore::Shared() {
    static PasteboardStore* shared = [] {
        auto* store = new PasteboardStore();
        // Closing at exit commits what this process put and folds the write-ahead log back into the
        // database; a log left behind would have to be read again by the next process.
        std::atexit([] { Shared().Close(); });
        return store;
    }();
    return *shared;
}

PasteboardStore::PasteboardStore() : folder_(Folder()) {}

// ---- Opening, and replacing a store that cannot be used ----

bool PasteboardStore::EnsureOpen() {
    if (closed_) return Fail(kPasteboardStoreUnusable, "the process is ending");
    if (database_ != nullptr) return true;
    std::string reason;
    if (PasteboardStoreFailure failure = folder_.MakePrivate(&reason); failure != kPasteboardStoreNoFailure)
        return Fail(failure, reason);
    PasteboardStoreFolder::Lock held(folder_);
    if (held.error() != 0) return Fail(held.error() == ENOSPC ? kPasteboardStoreNoSpace : kPasteboardStoreUnusable,
                                       std::strerror(held.error()));
    return OpenLocked();
}

bool PasteboardStore::OpenLocked() {
    for (int attempt = 0;; ++attempt) {
        std::string reason;
        if (PasteboardStoreFailure failure = folder_.MakeStoreFilePrivate(&reason); failure != kPasteboardStoreNoFailure)
            return Fail(failure, reason);
        opened_ = folder_.StoreIdentity();
        int status = sqlite3_open_v2(folder_.StoreFile().c_str(), &database_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                                     nullptr);
        if (status == SQLITE_OK) {
            sqlite3_extended_result_codes(database_, 1);
            // Writers of other processes wait for each other instead of failing.
            sqlite3_busy_timeout(database_, 30000);
            // The store lives in the user's runtime folder and is rebuilt after a crash, so commits
            // need not reach the disk.
            for (const char* sql :
                 {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=OFF",
                  "CREATE TABLE IF NOT EXISTS pasteboards(name TEXT PRIMARY KEY, owner TEXT NOT NULL)",
                  // One b-tree keyed by what a put replaces, so a put changes as few pages as it can.
                  "CREATE TABLE IF NOT EXISTS pasteboard_items(pasteboard TEXT NOT NULL, "
                  "item INTEGER NOT NULL, flavor TEXT NOT NULL, position INTEGER NOT NULL, "
                  "data BLOB NOT NULL, PRIMARY KEY(pasteboard, item, flavor)) WITHOUT ROWID"})
                if ((status = Execute(sql)) != SQLITE_OK) break;
        }
        if (status == SQLITE_OK) return true;
        bool damaged = Classify(status) == kPasteboardStoreDamaged;
        FailFromStatus(status);
        Disconnect();
        if (!damaged || attempt > 0) return false;
        // Runtime data only: a store SQLite cannot read is put aside and a new one made.
        if (!folder_.SetAsideDamagedStore(&reason)) return Fail(kPasteboardStoreDamaged, reason);
    }
}

void PasteboardStore::Disconnect() {
    for (auto& [sql, statement] : prepared_) sqlite3_finalize(statement);
    prepared_.clear();
    sqlite3_close(database_);  // an open transaction is rolled back
    database_ = nullptr;
    transaction_ = Transaction::None;
}

bool PasteboardStore::Replace(PasteboardStoreFailure cause) {
    Disconnect();
    PasteboardStoreFolder::Lock held(folder_);
    if (held.error() != 0) return Fail(cause, std::strerror(held.error()));
    // Another process that met the same store may have replaced it already.
    if (folder_.StoreIdentity() == opened_) {
        std::string reason;
        bool replaced = cause == kPasteboardStoreDamaged ? folder_.SetAsideDamagedStore(&reason)
                                                         : folder_.RemoveStore(&reason);
        if (!replaced) return Fail(cause, reason);
    }
    return OpenLocked();
}

template <typename Step>
bool PasteboardStore::Attempt(Step&& step, bool removeStoreWhenFull) {
    failure_ = kPasteboardStoreNoFailure;
    for (int attempt = 0;; ++attempt) {
        PasteboardStoreFailure cause;
        if (!EnsureOpen()) {
            cause = failure_;
        } else {
            int status = step();
            if (Succeeded(status)) {
                failure_ = kPasteboardStoreNoFailure;  // a store rebuilt on the way works now
                return true;
            }
            cause = Classify(status);
            FailFromStatus(status);
        }
        bool replace = cause == kPasteboardStoreDamaged || (cause == kPasteboardStoreNoSpace && removeStoreWhenFull);
        if (attempt > 0 || !replace || !Replace(cause)) return false;
    }
}

// ---- Why a call failed ----

PasteboardStoreFailure PasteboardStore::Classify(int status) const {
    switch (status & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return kPasteboardStoreDamaged;
    case SQLITE_FULL: return kPasteboardStoreNoSpace;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN: {
        // The index of the write-ahead log is grown by writing, which fails like any write.
        int error = database_ != nullptr ? sqlite3_system_errno(database_) : 0;
        if (error == ENOSPC || error == EDQUOT) return kPasteboardStoreNoSpace;
        return kPasteboardStoreUnusable;
    }
    default: return kPasteboardStoreUnusable;
    }
}

bool PasteboardStore::FailFromStatus(int status) {
    std::string reason = database_ != nullptr ? sqlite3_errmsg(database_) : sqlite3_errstr(status);
    int error = database_ != nullptr ? sqlite3_system_errno(database_) : 0;
    if ((status & 0xff) == SQLITE_IOERR || (status & 0xff) == SQLITE_CANTOPEN || (status & 0xff) == SQLITE_FULL)
        if (error != 0) reason += std::string(" (") + std::strerror(error) + ")";
    return Fail(Classify(status), reason);
}

bool PasteboardStore::Fail(PasteboardStoreFailure failure, const std::string& reason) {
    failure_ = failure;
    switch (failure) {
    case kPasteboardStoreUnsafe:
        failureDescription_ = "the pasteboard folder " + folder_.path() + " is not safe to use: " + reason;
        break;
    case kPasteboardStoreDamaged:
        failureDescription_ = "the pasteboard store " + folder_.StoreFile() + " is damaged and cannot be set aside: " + reason;
        break;
    case kPasteboardStoreNoSpace:
        failureDescription_ = "no space left for the pasteboard store in " + folder_.path() + ": " + reason;
        break;
    default: failureDescription_ = "cannot use the pasteboard store in " + folder_.path() + ": " + reason; break;
    }
    return false;
}

PasteboardStoreFailure PasteboardStore::Failure(std::string* description) {
    std::lock_guard<std::mutex> guard(lock_);
    if (description != nullptr) *description = failure_ == kPasteboardStoreNoFailure ? "" : failureDescription_;
    return failure_;
}

// ---- Statements ----

int PasteboardStore::Execute(const char* sql) { return sqlite3_exec(database_, sql, nullptr, nullptr, nullptr); }

sqlite3_stmt* PasteboardStore::Prepare(const char* sql) {
    auto found = prepared_.find(sql);
    if (found != prepared_.end()) return found->second;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(database_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK)
        return nullptr;
    prepared_.emplace(sql, statement);
    return statement;
}

int PasteboardStore::EndTransaction() {
    if (database_ == nullptr || transaction_ == Transaction::None) return SQLITE_OK;
    const bool wrote = transaction_ == Transaction::Write;
    transaction_ = Transaction::None;
    int status = Execute("COMMIT");
    // Puts that cannot be committed are dropped; the pasteboard stays as its clear left it.
    if (status != SQLITE_OK && !sqlite3_get_autocommit(database_)) Execute("ROLLBACK");
    return wrote ? status : SQLITE_OK;
}

void PasteboardStore::Commit() {
    std::lock_guard<std::mutex> guard(lock_);
    if (int status = EndTransaction(); status != SQLITE_OK) FailFromStatus(status);
}

void PasteboardStore::Close() {
    std::lock_guard<std::mutex> guard(lock_);
    EndTransaction();
    if (database_ != nullptr) Disconnect();
    closed_ = true;
}

bool PasteboardStore::Clear(const std::string& name, const std::string& ownerToken) {
    std::lock_guard<std::mutex> guard(lock_);
    return Attempt(
        [&] {
            EndTransaction();  // this process's earlier puts come first
            int status = Execute("BEGIN IMMEDIATE");
            if (status != SQLITE_OK) return status;
            {
                Statement removeItems(Prepare("DELETE FROM pasteboard_items WHERE pasteboard = ?1"));
                Statement takeOwnership(Prepare("INSERT INTO pasteboards(name, owner) VALUES(?1, ?2) "
                                                "ON CONFLICT(name) DO UPDATE SET owner = excluded.owner"));
                if (!removeItems.valid() || !takeOwnership.valid()) {
                    status = sqlite3_errcode(database_);
                } else if ((status = removeItems.text(1, name).step()) == SQLITE_DONE) {
                    status = takeOwnership.text(1, name).text(2, ownerToken).step();
                }
            }
            if (status == SQLITE_DONE) status = Execute("COMMIT");
            if (status != SQLITE_OK && !sqlite3_get_autocommit(database_)) Execute("ROLLBACK");
            return status;
        },
        /*removeStoreWhenFull=*/true);
}

bool PasteboardStore::Remove(const std::string& name) {
    std::lock_guard<std::mutex> guard(lock_);
    return Attempt([&] {
        EndTransaction();  // this process's earlier puts come first
        int status = Execute("BEGIN IMMEDIATE");
        if (status != SQLITE_OK) return status;
        {
            Statement removeItems(Prepare("DELETE FROM pasteboard_items WHERE pasteboard = ?1"));
            Statement removeName(Prepare("DELETE FROM pasteboards WHERE name = ?1"));
            if (!removeItems.valid() || !removeName.valid()) {
                status = sqlite3_errcode(database_);
            } else if ((status = removeItems.text(1, name).step()) == SQLITE_DONE) {
                status = removeName.text(1, name).step();
            }
        }
        if (status == SQLITE_DONE) status = Execute("COMMIT");
        if (status != SQLITE_OK && !sqlite3_get_autocommit(database_)) Execute("ROLLBACK");
        return status;
    });
}

PasteboardStore::PutResult PasteboardStore::Put(const std::string& name, const std::string& ownerToken, int64_t item,
                                                const std::string& flavor, int64_t position, const uint8_t* bytes,
                                                size_t length) {
    std::lock_guard<std::mutex> guard(lock_);
    PutResult result = PutResult::Failed;
    bool stepped = Attempt([&] {
        // Held until Commit: thousands of puts cost one commit, and no other process's clear can
        // come between the ownership check and the write.
        if (transaction_ == Transaction::Read) EndTransaction();
        if (transaction_ == Transaction::None) {
            int status = Execute("BEGIN IMMEDIATE");
            if (status != SQLITE_OK) return status;
            transaction_ = Transaction::Write;
        }
        // One statement, so the ownership check and the write belong together.
        // A replaced flavour keeps its position, so the item keeps its place.
        Statement put(Prepare("INSERT INTO pasteboard_items(pasteboard, item, flavor, position, data) "
                              "SELECT ?1, ?2, ?3, ?6, ?4 WHERE EXISTS(SELECT 1 FROM pasteboards WHERE name = ?1 AND owner = ?5) "
                              "ON CONFLICT(pasteboard, item, flavor) DO UPDATE SET data = excluded.data"));
        int status = put.valid() ? put.text(1, name).integer(2, item).text(3, flavor).blob(4, bytes, length)
                                       .text(5, ownerToken).integer(6, position).step()
                                 : sqlite3_errcode(database_);
        if (status == SQLITE_DONE) result = sqlite3_changes(database_) == 1 ? PutResult::Stored : PutResult::NotOwner;
        // Someone else cleared the pasteboard before this transaction began: holding the write lock
        // any longer would only keep the new owner waiting.
        if (result == PutResult::NotOwner) {
            put.reset();
            return EndTransaction();
        }
        // A failed statement is undone by SQLite; where it undid the whole transaction, say so.
        if (sqlite3_get_autocommit(database_)) transaction_ = Transaction::None;
        return status;
    });
    return stepped ? result : PutResult::Failed;
}

std::optional<std::vector<PasteboardSnapshotItem>> PasteboardStore::Items(const std::string& name) {
    std::lock_guard<std::mutex> guard(lock_);
    struct Row {
        int64_t item;
        int64_t position;
        std::string flavor;
    };
    std::vector<Row> rows;
    bool read = Attempt([&] {
        rows.clear();
        // A fresh view, kept for the reads that follow; within this process's puts, those are the view.
        if (transaction_ == Transaction::Read) EndTransaction();
        if (transaction_ == Transaction::None) {
            int status = Execute("BEGIN");
            if (status != SQLITE_OK) return status;
            transaction_ = Transaction::Read;
        }
        Statement list(Prepare("SELECT item, flavor, position FROM pasteboard_items WHERE pasteboard = ?1"));
        if (!list.valid()) return sqlite3_errcode(database_);
        list.text(1, name);
        int status;
        while ((status = list.step()) == SQLITE_ROW)
            rows.push_back({sqlite3_column_int64(list.get(), 0), sqlite3_column_int64(list.get(), 2),
                            std::string(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 1)),
                                        static_cast<size_t>(sqlite3_column_bytes(list.get(), 1)))});
        return status;
    });
    if (!read) return std::nullopt;
    // Items in order of their first put, each item's flavours in the order they were put.
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.position < b.position; });
    std::vector<PasteboardSnapshotItem> items;
    std::unordered_map<int64_t, size_t> placeOf;
    placeOf.reserve(rows.size());
    for (Row& row : rows) {
        auto [place, isNew] = placeOf.emplace(row.item, items.size());
        if (isNew) items.push_back({row.item, {}});
        items[place->second].flavors.push_back(std::move(row.flavor));
    }
    return items;
}

std::optional<std::vector<uint8_t>> PasteboardStore::Data(const std::string& name, int64_t item,
                                                          const std::string& flavor) {
    std::lock_guard<std::mutex> guard(lock_);
    std::optional<std::vector<uint8_t>> data;
    Attempt([&] {
        data.reset();
        Statement read(Prepare("SELECT data FROM pasteboard_items WHERE pasteboard = ?1 AND item = ?2 AND flavor = ?3"));
        if (!read.valid()) return sqlite3_errcode(database_);
        int status = read.text(1, name).integer(2, item).text(3, flavor).step();
        if (status == SQLITE_ROW) {
            const auto* bytes = static_cast<const uint8_t*>(sqlite3_column_blob(read.get(), 0));
            data.emplace(bytes, bytes + sqlite3_column_bytes(read.get(), 0));
        }
        return status;
    });
    return data;
}

std::optional<std::string> PasteboardStore::Owner(const std::string& name) {
    std::lock_guard<std::mutex> guard(lock_);
    std::optional<std::string> owner;
    Attempt([&] {
        owner.reset();
        Statement read(Prepare("SELECT owner FROM pasteboards WHERE name = ?1"));
        if (!read.valid()) return sqlite3_errcode(database_);
        int status = read.text(1, name).step();
        if (status == SQLITE_ROW) owner = std::string(reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 0)));
        return status;
    });
    return owner;
}
