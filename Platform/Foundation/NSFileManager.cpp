#include <Foundation/NSFileManager.h>

#include <sys/stat.h>

NSFileManager* NSFileManager::defaultManager()
{
    static NSFileManager manager;
    return &manager;
}

BOOL NSFileManager::fileExistsAtPath(const NSString& path) const { return fileExistsAtPath(path, nil); }

BOOL NSFileManager::fileExistsAtPath(const NSString& path, BOOL* isDirectory) const
{
    struct stat status {};
    if (path.utf8().empty() || stat(path.UTF8String(), &status) != 0)
        return NO;
    if (isDirectory)
        *isDirectory = S_ISDIR(status.st_mode);
    return YES;
}
