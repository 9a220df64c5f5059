#include "AtomicPngFile.h"

#include "RunLimits.h"

#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

cairo_status_t WriteToDescriptor(void* closure, const unsigned char* data, unsigned int length)
{
    const int descriptor = *static_cast<int*>(closure);
    while (length > 0) {
        const ssize_t written = write(descriptor, data, length);
        if (written <= 0)
            return CAIRO_STATUS_WRITE_ERROR;
        data += written;
        length -= static_cast<unsigned int>(written);
    }
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool WritePngAtomically(cairo_surface_t* picture, const std::string& outputPath)
{
    std::string temporaryName = outputPath + ".XXXXXX";
    std::vector<char> pattern(temporaryName.begin(), temporaryName.end());
    pattern.push_back('\0');
    int descriptor = mkstemp(pattern.data());
    if (descriptor < 0)
        return false;
    temporaryName = pattern.data();
    RemoveWhenOverLimit(temporaryName.c_str());

    bool written = cairo_surface_write_to_png_stream(picture, WriteToDescriptor, &descriptor) == CAIRO_STATUS_SUCCESS;
    // Readable like any file the user makes; mkstemp makes it private to the owner.
    const mode_t creationMask = umask(0);
    umask(creationMask);
    written = written && fchmod(descriptor, 0666 & ~creationMask) == 0;
    written = close(descriptor) == 0 && written;
    written = written && std::rename(temporaryName.c_str(), outputPath.c_str()) == 0;
    if (!written)
        unlink(temporaryName.c_str());
    RemoveWhenOverLimit(nullptr);
    return written;
}
