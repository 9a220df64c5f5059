// File-system queries.
#pragma once

#include "NSString.h"

class NSFileManager : public NSObject {
public:
    static NSFileManager* defaultManager();

    // YES when anything is at the path; a symbolic link counts through what it points to.
    BOOL fileExistsAtPath(const NSString& path) const;
    BOOL fileExistsAtPath(const NSString& path, BOOL* isDirectory) const;
};
