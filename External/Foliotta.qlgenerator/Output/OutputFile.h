// The file a picture is written to, as a desktop names it: either a new name, or a regular file the
// caller made beforehand and may be reading through a handle it keeps (Tumbler does). Nothing else
// is ever written: not a FIFO, a device, a folder or a symbolic link, whatever the name shows by
// the time it is opened. A reader never sees half a picture.
#pragma once

#include <string>

// Whether path names something a picture may be written to: nothing yet, or a regular file.
// For refusing at once, before any work; WriteOutputFile checks again as it opens.
bool IsWritableOutput(const std::string& path);

// False when bytes were not written whole. A new name is written under a temporary name in the
// same folder and linked into place only if the name is still free; an existing regular file is
// opened without following links and written into. On failure no new file is left, and an
// existing one is left as it was, or empty once writing into it had begun.
bool WriteOutputFile(const std::string& bytes, const std::string& path);

// Undoes a write under way, from a signal handler (it is async-signal-safe): removes the
// temporary file, or empties the existing file being written into.
void AbandonOutputFile();
