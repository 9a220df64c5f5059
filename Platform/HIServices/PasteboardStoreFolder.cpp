#include "PasteboardStoreFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

PasteboardStoreFailure FailureForError(int error, std::string* reason) {
    *reason = std::strerror(error);
    return error == ENOSPC || error == EDQUOT ? kPasteboardStoreNoSpace : kPasteboardStoreUnusable;
}

bool RemoveIfPresent(const std::string& path, std::string* reason) {
    if (unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    *reason = std::strerror(errno);
    return false;
}

}  // namespace

PasteboardStoreFolder::PasteboardStoreFolder(std::string path) : path_(std::move(path)) {}

PasteboardStoreFailure PasteboardStoreFolder::MakePrivate(std::string* reason) const {
    if (mkdir(path_.c_str(), 0700) != 0 && errno != EEXIST) return FailureForError(errno, reason);
    struct stat info;
    if (lstat(path_.c_str(), &info) != 0) return FailureForError(errno, reason);
    if (!S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
        *reason = S_ISLNK(info.st_mode) ? "it is a symbolic link" : !S_ISDIR(info.st_mode) ? "it is not a folder"
                                                                                           : "another user owns it";
        return kPasteboardStoreUnsafe;
    }
    if ((info.st_mode & 077) != 0 && chmod(path_.c_str(), 0700) != 0) return FailureForError(errno, reason);
    return kPasteboardStoreNoFailure;
}

PasteboardStoreFailure PasteboardStoreFolder::MakeStoreFilePrivate(std::string* reason) const {
    int descriptor = open(StoreFile().c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        if (errno != ELOOP) return FailureForError(errno, reason);
        *reason = "the store file is a symbolic link";
        return kPasteboardStoreUnsafe;
    }
    struct stat info;
    PasteboardStoreFailure failure = kPasteboardStoreNoFailure;
    if (fstat(descriptor, &info) != 0) {
        failure = FailureForError(errno, reason);
    } else if (!S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
        *reason = "the store file is not a plain file of this user";
        failure = kPasteboardStoreUnsafe;
    } else if ((info.st_mode & 077) != 0 && fchmod(descriptor, 0600) != 0) {
        failure = FailureForError(errno, reason);
    }
    close(descriptor);
    return failure;
}

PasteboardStoreFolder::Lock::Lock(const PasteboardStoreFolder& folder) {
    // Read-only is enough to lock, so that on a read-only disk the store itself can say what is wrong.
    const std::string path = folder.path() + "/pasteboards.lock";
    descriptor_ = open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor_ < 0 && errno == EROFS) descriptor_ = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor_ < 0 || flock(descriptor_, LOCK_EX) != 0) error_ = errno;
}

PasteboardStoreFolder::Lock::~Lock() {
    if (descriptor_ >= 0) close(descriptor_);  // closing the only descriptor releases the lock
}

PasteboardStoreFolder::Identity PasteboardStoreFolder::StoreIdentity() const {
    struct stat info;
    if (stat(StoreFile().c_str(), &info) != 0) return {};
    return {info.st_dev, info.st_ino};
}

bool PasteboardStoreFolder::SetAsideDamagedStore(std::string* reason) const {
    // The log and index belong to the damaged store: a new store must not replay them.
    if (rename(StoreFile().c_str(), DamagedFile().c_str()) != 0 && errno != ENOENT) {
        *reason = std::strerror(errno);
        return false;
    }
    return RemoveIfPresent(StoreFile() + "-wal", reason) && RemoveIfPresent(StoreFile() + "-shm", reason);
}

bool PasteboardStoreFolder::RemoveStore(std::string* reason) const {
    bool removed = true;
    for (const std::string& file : {StoreFile(), StoreFile() + "-wal", StoreFile() + "-shm", DamagedFile()})
        removed = RemoveIfPresent(file, reason) && removed;
    return removed;
}
