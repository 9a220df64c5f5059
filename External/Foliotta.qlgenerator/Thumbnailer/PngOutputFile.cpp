#include "PngOutputFile.h"

#include "PngEncoding.h"
#include "RunLimits.h"

#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int descriptor, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

bool WriteThroughRename(const std::string& png, const std::string& outputPath)
{
    std::string temporaryName = outputPath + ".XXXXXX";
    std::vector<char> pattern(temporaryName.begin(), temporaryName.end());
    pattern.push_back('\0');
    const int descriptor = mkstemp(pattern.data());
    if (descriptor < 0)
        return false;
    temporaryName = pattern.data();
    RemoveWhenOverLimit(temporaryName.c_str());

    // Readable like any file the user makes; mkstemp makes it private to the owner.
    const mode_t creationMask = umask(0);
    umask(creationMask);
    bool written = WriteAll(descriptor, png) && fchmod(descriptor, 0666 & ~creationMask) == 0;
    written = close(descriptor) == 0 && written;
    written = written && std::rename(temporaryName.c_str(), outputPath.c_str()) == 0;
    if (!written)
        unlink(temporaryName.c_str());
    return written;
}

bool WriteIntoCallersFile(const std::string& png, const std::string& outputPath)
{
    const int descriptor = open(outputPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    RemoveWhenOverLimit(outputPath.c_str());
    bool written = WriteAll(descriptor, png);
    written = close(descriptor) == 0 && written;
    if (!written)
        unlink(outputPath.c_str());
    return written;
}

}  // namespace

bool WritePngFile(cairo_surface_t* picture, const std::string& outputPath)
{
    const std::optional<std::string> encoded = EncodePng(picture);
    if (!encoded)
        return false;
    const std::string& png = *encoded;
    struct stat existing = {};
    const bool callerMadeIt = lstat(outputPath.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    const bool written = callerMadeIt ? WriteIntoCallersFile(png, outputPath) : WriteThroughRename(png, outputPath);
    RemoveWhenOverLimit(nullptr);
    return written;
}
