// Opening files the way the desktop does.
#pragma once

#include <Foundation/Foundation.h>

class NSWorkspace : public NSObject {
public:
    static NSWorkspace* sharedWorkspace();

    // An application bundle (a folder with Contents/Info.plist naming its CFBundleExecutable in
    // Contents/MacOS) is started on its own, detached from this process so that it outlives it.
    // Any other file is handed to xdg-open. YES when the program could be started.
    BOOL openFile(const NSString& fullPath);
};
