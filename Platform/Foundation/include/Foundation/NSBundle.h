// Bundles: a folder "X.bundle/Contents" with Info.plist, MacOS/<executable> and Resources/.
#pragma once

#include "NSDictionary.h"
#include "NSString.h"

#include <memory>

class NSBundle : public NSObject {
public:
    // The bundle at that folder, made once per path and kept for the life of the process; nil when
    // the folder does not exist.
    static NSBundle* bundleWithPath(const NSString& path);
    // Among the bundles loaded in this process (the main bundle and every bundle whose code was
    // loaded or that a loader registered); nil when none carries that identifier.
    static NSBundle* bundleWithIdentifier(const NSString& identifier);
    // The folder of the running program, or the bundle around it when it runs as
    // X.app/Contents/MacOS/<program>.
    static NSBundle* mainBundle();
    // For a loader that brought the bundle's code in by its own means.
    static void registerLoadedBundle(NSBundle* bundle);

    const NSString& bundlePath() const { return path_; }
    NSString bundleIdentifier() const;
    NSString resourcePath() const;
    NSString executablePath() const;
    // A string value of Contents/Info.plist; empty when absent.
    NSString objectForInfoDictionaryKey(const NSString& key) const;
    // A resource "name.type" in the Resources folder; empty when there is none.
    NSString pathForResource(const NSString& name, const NSString& type) const;

    // Loads the executable (dlopen) and registers the bundle as loaded. NO with the reason in
    // loadError() when the code cannot be loaded.
    BOOL load();
    BOOL isLoaded() const { return loaded_; }
    const NSString& loadError() const { return loadError_; }

private:
    explicit NSBundle(NSString path);
    NSString path_;
    std::unique_ptr<NSMutableDictionary> info_;
    bool loaded_ = false;
    void* handle_ = nullptr;
    NSString loadError_;
};
