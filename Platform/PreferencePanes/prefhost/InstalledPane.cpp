#include "InstalledPane.h"

std::vector<NSString> PreferencePaneFolders()
{
    return {NSString::stringWithFormat("%@/Library/PreferencePanes", NSHomeDirectory()), NSString("/Library/PreferencePanes")};
}

NSString InstalledPanePath(const NSString& bundleName)
{
    const std::string name = bundleName.utf8();
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return NSString();
    for (const NSString& folder : PreferencePaneFolders()) {
        NSString path = folder.stringByAppendingPathComponent(bundleName);
        if (NSFileManager::defaultManager()->fileExistsAtPath(path))
            return path;
    }
    return NSString();
}
