// The file that a document path given as a string names.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <optional>
#include <string>

namespace QUARK::QXPMETADATA {

// File names are bytes. Callers turn the bytes they were given into a string as UTF-8 where they
// are UTF-8, and otherwise as Mac OS Roman, one character a byte. So a string names the file
// whose name is its UTF-8 form, or, where no such file is there, the file whose name is its Mac
// OS Roman form when that form is not UTF-8: the very bytes the caller was given. nullopt when
// the string can name no file (unpaired surrogates, a NUL character).
std::optional<std::string> DocumentFileName(CFStringRef path);

}  // namespace QUARK::QXPMETADATA
