#include <Foundation/NSBundle.h>

#include <Foundation/NSFileManager.h>

#include <dlfcn.h>
#include <map>
#include <unistd.h>
#include <vector>

namespace {

std::map<std::string, std::unique_ptr<NSBundle>>& bundlesByPath()
{
    static std::map<std::string, std::unique_ptr<NSBundle>> bundles;
    return bundles;
}

std::vector<NSBundle*>& loadedBundles()
{
    static std::vector<NSBundle*> bundles;
    return bundles;
}

NSString runningProgramPath()
{
    std::string buffer(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return length > 0 ? NSString(buffer.substr(0, static_cast<size_t>(length))) : NSString();
}

}  // namespace

NSBundle::NSBundle(NSString path)
    : path_(std::move(path)), info_(NSMutableDictionary::dictionaryWithContentsOfFile(path_.stringByAppendingPathComponent("Contents/Info.plist")))
{
}

NSBundle* NSBundle::bundleWithPath(const NSString& path)
{
    BOOL isDirectory = NO;
    if (!NSFileManager::defaultManager()->fileExistsAtPath(path, &isDirectory) || !isDirectory)
        return nil;
    auto& bundle = bundlesByPath()[path.utf8()];
    if (!bundle)
        bundle.reset(new NSBundle(path));
    return bundle.get();
}

NSBundle* NSBundle::mainBundle()
{
    static NSBundle* main = [] {
        NSString folder = runningProgramPath().stringByDeletingLastPathComponent();  // .../Contents/MacOS
        NSString contents = folder.stringByDeletingLastPathComponent();
        bool insideBundle = folder.lastPathComponent() == "MacOS" && contents.lastPathComponent() == "Contents";
        NSBundle* bundle = bundleWithPath(insideBundle ? contents.stringByDeletingLastPathComponent() : folder);
        if (bundle)
            bundle->loaded_ = true;
        return bundle;
    }();
    return main;
}

void NSBundle::registerLoadedBundle(NSBundle* bundle)
{
    if (!bundle || bundle->loaded_)
        return;
    bundle->loaded_ = true;
    loadedBundles().push_back(bundle);
}

NSBundle* NSBundle::bundleWithIdentifier(const NSString& identifier)
{
    for (NSBundle* bundle : loadedBundles())
        if (bundle->bundleIdentifier() == identifier)
            return bundle;
    NSBundle* main = mainBundle();
    return main && main->bundleIdentifier() == identifier && !identifier.utf8().empty() ? main : nil;
}

NSString NSBundle::objectForInfoDictionaryKey(const NSString& key) const
{
    id value = info_ ? info_->objectForKey(key) : nil;
    auto text = dynamic_cast<const NSString*>(value);
    return text ? *text : NSString();
}

NSString NSBundle::bundleIdentifier() const { return objectForInfoDictionaryKey("CFBundleIdentifier"); }

NSString NSBundle::resourcePath() const { return path_.stringByAppendingPathComponent("Contents/Resources"); }

NSString NSBundle::executablePath() const
{
    NSString executable = objectForInfoDictionaryKey("CFBundleExecutable");
    if (executable.utf8().empty())
        return NSString();
    return path_.stringByAppendingPathComponent("Contents/MacOS").stringByAppendingPathComponent(executable);
}

NSString NSBundle::pathForResource(const NSString& name, const NSString& type) const
{
    NSString file = type.utf8().empty() ? name : NSString::stringWithFormat("%@.%@", name, type);
    NSString path = resourcePath().stringByAppendingPathComponent(file);
    return NSFileManager::defaultManager()->fileExistsAtPath(path) ? path : NSString();
}

BOOL NSBundle::load()
{
    if (loaded_)
        return YES;
    NSString executable = executablePath();
    if (executable.utf8().empty()) {
        loadError_ = NSString::stringWithFormat("%@: Info.plist names no CFBundleExecutable", path_);
        return NO;
    }
    handle_ = dlopen(executable.UTF8String(), RTLD_NOW | RTLD_GLOBAL);
    if (!handle_) {
        const char* reason = dlerror();
        loadError_ = NSString(reason ? reason : "cannot load the bundle's executable");
        return NO;
    }
    registerLoadedBundle(this);
    return YES;
}
