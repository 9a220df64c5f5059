// What a folder holds, as text: every entry below it with its kind, permissions, owner, size and
// modification time. Two equal snapshots mean nothing in it changed; "absent" for no folder.
#pragma once

#include <string>

std::string FolderSnapshot(const std::string& folder);
