#include "PasteboardStore.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder that only this user can enter: made 0700 if missing, refused if someone else owns it
// or it is a link (another user could otherwise read or plant pasteboards).
bool EnsurePrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) return false;
    if ((info.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0) return false;
    return true;
}

bool EnsurePrivateFile(const std::string& path) {
    int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0) return false;
    struct stat info;
    bool ok = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
              ((info.st_mode & 077) == 0 || fchmod(descriptor, 0600) == 0);
    close(descriptor);
    return ok;
}

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
    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_;
};

}  // namespace

std::string PasteboardStore::Folder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return std::string(runtime) + "/pasteboards";
    return "/tmp/pasteboards-" + std::to_string(geteuid());
}

PasteboardStore* PasteboardStore::Shared() {
    static PasteboardStore* shared = []() -> PasteboardStore* {
        const std::string folder = Folder();
        const std::string file = folder + "/pasteboards.sqlite";
        if (!EnsurePrivateFolder(folder) || !EnsurePrivateFile(file)) return nullptr;
        sqlite3* database = nullptr;
        if (sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            sqlite3_close(database);
            return nullptr;
        }
        // Writers of other processes wait for each other instead of failing.
        sqlite3_busy_timeout(database, 30000);
        auto* store = new PasteboardStore(database);
        // Closing at exit folds the write-ahead log back into the database; a log left behind
        // would have to be read again by the next process that opens the store.
        std::atexit([] { Shared()->Close(); });
        // The store lives in the user's runtime folder and is rebuilt by the next run after a crash,
        // so commits need not reach the disk.
        if (!store->Execute("PRAGMA journal_mode=WAL") || !store->Execute("PRAGMA synchronous=OFF") ||
            !store->Execute("CREATE TABLE IF NOT EXISTS pasteboards(name TEXT PRIMARY KEY, owner TEXT NOT NULL)") ||
            // One b-tree keyed by what a put replaces, so a put changes as few pages as it can.
            !store->Execute("CREATE TABLE IF NOT EXISTS pasteboard_items(pasteboard TEXT NOT NULL, "
                            "item INTEGER NOT NULL, flavor TEXT NOT NULL, position INTEGER NOT NULL, "
                            "data BLOB NOT NULL, PRIMARY KEY(pasteboard, item, flavor)) WITHOUT ROWID")) {
            delete store;
            return nullptr;
        }
        return store;
    }();
    return shared;
}

PasteboardStore::PasteboardStore(sqlite3* database) : database_(database) {}

PasteboardStore::~PasteboardStore() { Close(); }

void PasteboardStore::Close() {
    std::lock_guard<std::mutex> guard(lock_);
    for (auto& [sql, statement] : prepared_) sqlite3_finalize(statement);
    prepared_.clear();
    sqlite3_close(database_);
    database_ = nullptr;
}

bool PasteboardStore::Execute(const char* sql) {
    if (database_ == nullptr) return false;
    return sqlite3_exec(database_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

sqlite3_stmt* PasteboardStore::Prepare(const char* sql) {
    if (database_ == nullptr) return nullptr;  // closed at exit: whatever runs after that fails cleanly
    auto found = prepared_.find(sql);
    if (found != prepared_.end()) return found->second;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(database_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK)
        return nullptr;
    prepared_.emplace(sql, statement);
    return statement;
}

bool PasteboardStore::Clear(const std::string& name, const std::string& ownerToken) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!Execute("BEGIN IMMEDIATE")) return false;
    Statement removeItems(Prepare("DELETE FROM pasteboard_items WHERE pasteboard = ?1"));
    Statement takeOwnership(Prepare("INSERT INTO pasteboards(name, owner) VALUES(?1, ?2) "
                                    "ON CONFLICT(name) DO UPDATE SET owner = excluded.owner"));
    bool ok = removeItems.valid() && takeOwnership.valid() && removeItems.text(1, name).step() == SQLITE_DONE &&
              takeOwnership.text(1, name).text(2, ownerToken).step() == SQLITE_DONE;
    if (ok && Execute("COMMIT")) return true;
    Execute("ROLLBACK");
    return false;
}

PasteboardStore::PutResult PasteboardStore::Put(const std::string& name, const std::string& ownerToken, int64_t item,
                                                const std::string& flavor, int64_t position, const uint8_t* bytes,
                                                size_t length) {
    std::lock_guard<std::mutex> guard(lock_);
    // One statement, so the ownership check and the write cannot be split by another process's clear.
    // A replaced flavour keeps its position, so the item keeps its place.
    Statement put(Prepare("INSERT INTO pasteboard_items(pasteboard, item, flavor, position, data) "
                          "SELECT ?1, ?2, ?3, ?6, ?4 WHERE EXISTS(SELECT 1 FROM pasteboards WHERE name = ?1 AND owner = ?5) "
                          "ON CONFLICT(pasteboard, item, flavor) DO UPDATE SET data = excluded.data"));
    if (!put.valid()) return PutResult::Failed;
    put.text(1, name).integer(2, item).text(3, flavor).blob(4, bytes, length).text(5, ownerToken).integer(6, position);
    if (put.step() != SQLITE_DONE) return PutResult::Failed;
    return sqlite3_changes(database_) == 1 ? PutResult::Stored : PutResult::NotOwner;
}

std::optional<std::vector<PasteboardSnapshotItem>> PasteboardStore::Items(const std::string& name) {
    std::lock_guard<std::mutex> guard(lock_);
    Statement list(Prepare("SELECT item, flavor FROM pasteboard_items AS flavors WHERE pasteboard = ?1 ORDER BY "
                           "(SELECT MIN(position) FROM pasteboard_items AS first WHERE first.pasteboard = ?1 "
                           "AND first.item = flavors.item), position"));
    if (!list.valid()) return std::nullopt;
    list.text(1, name);
    std::vector<PasteboardSnapshotItem> items;
    int status;
    while ((status = list.step()) == SQLITE_ROW) {
        int64_t item = sqlite3_column_int64(list.get(), 0);
        std::string flavor(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 1)),
                           static_cast<size_t>(sqlite3_column_bytes(list.get(), 1)));
        if (items.empty() || items.back().item != item) items.push_back({item, {}});
        items.back().flavors.push_back(std::move(flavor));
    }
    if (status != SQLITE_DONE) return std::nullopt;
    return items;
}

std::optional<std::vector<uint8_t>> PasteboardStore::Data(const std::string& name, int64_t item,
                                                          const std::string& flavor) {
    std::lock_guard<std::mutex> guard(lock_);
    Statement read(Prepare("SELECT data FROM pasteboard_items WHERE pasteboard = ?1 AND item = ?2 AND flavor = ?3"));
    if (!read.valid()) return std::nullopt;
    read.text(1, name).integer(2, item).text(3, flavor);
    if (read.step() != SQLITE_ROW) return std::nullopt;
    const auto* bytes = static_cast<const uint8_t*>(sqlite3_column_blob(read.get(), 0));
    return std::vector<uint8_t>(bytes, bytes + sqlite3_column_bytes(read.get(), 0));
}

std::optional<std::string> PasteboardStore::Owner(const std::string& name) {
    std::lock_guard<std::mutex> guard(lock_);
    Statement read(Prepare("SELECT owner FROM pasteboards WHERE name = ?1"));
    if (!read.valid()) return std::nullopt;
    read.text(1, name);
    if (read.step() != SQLITE_ROW) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 0)));
}
