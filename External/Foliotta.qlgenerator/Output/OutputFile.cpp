#include "OutputFile.h"

#include "WholeWrite.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What AbandonOutputFile undoes; read from a signal handler.
char pendingTemporary[PATH_MAX];
volatile sig_atomic_t pendingTemporarySet = 0;
volatile sig_atomic_t pendingDescriptor = -1;

// Gives the complete file its final name only while that name is free, so a name that someone
// made meanwhile (a link, a FIFO) is never replaced.
bool LinkIntoPlace(const std::string& temporary, const std::string& path)
{
    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system that cannot rename without replacing: a hard link fails on a taken name too.
    if (link(temporary.c_str(), path.c_str()) != 0)
        return false;
    unlink(temporary.c_str());
    return true;
}

bool WriteNewFile(const std::string& bytes, const std::string& path)
{
    std::string temporary = path + ".XXXXXX";
    if (temporary.size() >= sizeof pendingTemporary)
        return false;
    std::vector<char> pattern(temporary.begin(), temporary.end());
    pattern.push_back('\0');
    const int descriptor = mkostemp(pattern.data(), O_CLOEXEC);
    if (descriptor < 0)
        return false;
    temporary = pattern.data();
    std::strcpy(pendingTemporary, temporary.c_str());
    pendingTemporarySet = 1;

    // Readable like any file the user makes; mkstemp makes it private to the owner.
    const mode_t creationMask = umask(0);
    umask(creationMask);
    bool written = WriteWhole(descriptor, bytes) && fchmod(descriptor, 0666 & ~creationMask) == 0;
    written = close(descriptor) == 0 && written;
    written = written && LinkIntoPlace(temporary, path);
    if (!written)
        unlink(temporary.c_str());
    pendingTemporarySet = 0;
    return written;
}

bool WriteIntoExistingFile(const std::string& bytes, const std::string& path, const struct stat& checked)
{
    // Not following links, and not waiting on a FIFO put in its place since the check.
    const int descriptor = open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat opened = {};
    if (fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != checked.st_dev ||
        opened.st_ino != checked.st_ino) {
        close(descriptor);
        return false;
    }
    pendingDescriptor = descriptor;
    bool written = ftruncate(descriptor, 0) == 0 && WriteWhole(descriptor, bytes);
    if (!written && ftruncate(descriptor, 0) != 0)
        written = false;  // emptied as far as it can be; half a picture is worse than none
    pendingDescriptor = -1;
    written = close(descriptor) == 0 && written;
    return written;
}

}  // namespace

bool IsWritableOutput(const std::string& path)
{
    struct stat existing = {};
    if (lstat(path.c_str(), &existing) != 0)
        return errno == ENOENT;
    return S_ISREG(existing.st_mode);
}

bool WriteOutputFile(const std::string& bytes, const std::string& path)
{
    struct stat existing = {};
    if (lstat(path.c_str(), &existing) != 0)
        return errno == ENOENT && WriteNewFile(bytes, path);
    return S_ISREG(existing.st_mode) && WriteIntoExistingFile(bytes, path, existing);
}

void AbandonOutputFile()
{
    if (pendingTemporarySet)
        unlink(pendingTemporary);
    if (const int descriptor = pendingDescriptor; descriptor >= 0)
        (void)ftruncate(descriptor, 0);
}
