#include <CoreServices/UTCoreTypes.h>

const CFStringRef kUTTypePNG = CFSTR("public.png");
const CFStringRef kUTTypeUTF8PlainText = CFSTR("public.utf8-plain-text");
