// Uniform type identifiers used by pasteboards and image encoders.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

extern const CFStringRef kUTTypePNG;            // "public.png"
extern const CFStringRef kUTTypeUTF8PlainText;  // "public.utf8-plain-text"
