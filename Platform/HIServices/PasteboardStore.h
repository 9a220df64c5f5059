// The SQLite database that holds every named pasteboard of this user (private to the stand-in).
#pragma once

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
    // The store of this user, opened on first use; null when it cannot be opened safely.
    static PasteboardStore* Shared();

    bool Clear(const std::string& name, const std::string& ownerToken);
    enum class PutResult { Stored, NotOwner, Failed };
    // position orders the items; the owner numbers its puts since its clear.
    PutResult Put(const std::string& name, const std::string& ownerToken, int64_t item, const std::string& flavor,
                  int64_t position, const uint8_t* bytes, size_t length);
    std::optional<std::vector<PasteboardSnapshotItem>> Items(const std::string& name);
    std::optional<std::vector<uint8_t>> Data(const std::string& name, int64_t item, const std::string& flavor);
    std::optional<std::string> Owner(const std::string& name);

    // Where the store lives: $XDG_RUNTIME_DIR/pasteboards, else a private folder in /tmp.
    static std::string Folder();

    ~PasteboardStore();
    // Folds the write-ahead log back into the database; every later call fails.
    void Close();

private:
    explicit PasteboardStore(sqlite3* database);
    sqlite3_stmt* Prepare(const char* sql);
    bool Execute(const char* sql);

    std::mutex lock_;
    sqlite3* database_;
    std::map<const char*, sqlite3_stmt*> prepared_;  // kept: a list of thousands of items is put one by one
};
