#include <Foundation/NSPathUtilities.h>

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

NSString NSHomeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return NSString(home);
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return NSString(entry->pw_dir);
    return NSString("/");
}
