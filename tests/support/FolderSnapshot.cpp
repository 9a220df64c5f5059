#include "FolderSnapshot.h"

#include <sys/stat.h>

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string describe(const fs::path& path)
{
    struct stat status = {};
    if (lstat(path.c_str(), &status) != 0)
        return path.string() + " gone\n";
    return path.string() + " " + std::to_string(status.st_mode) + " " + std::to_string(status.st_uid) + ":" +
           std::to_string(status.st_gid) + " " + std::to_string(status.st_size) + " " +
           std::to_string(status.st_mtim.tv_sec) + "." + std::to_string(status.st_mtim.tv_nsec) + "\n";
}

} // namespace

std::string FolderSnapshot(const std::string& folder)
{
    struct stat status = {};
    if (lstat(folder.c_str(), &status) != 0)
        return "absent";
    std::set<std::string> entries = {describe(folder)};
    std::error_code error;
    for (fs::recursive_directory_iterator entry(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && entry != end; entry.increment(error))
        entries.insert(describe(entry->path()));
    std::string snapshot;
    for (const auto& line : entries)
        snapshot += line;
    return snapshot;
}
