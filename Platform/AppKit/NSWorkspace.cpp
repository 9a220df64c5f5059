#include <AppKit/NSWorkspace.h>

#include <ProcessSpawn/ProcessSpawn.h>

#include <string>
#include <vector>

namespace {

// The executable of the application bundle at the path; empty when the path is no such bundle.
std::string applicationExecutable(const NSString& path)
{
    if (!path.hasSuffix(".app"))
        return {};
    NSBundle* bundle = NSBundle::bundleWithPath(path);
    if (bundle == nil)
        return {};
    const NSString executable = bundle->objectForInfoDictionaryKey("CFBundleExecutable");
    if (executable.length() == 0 || executable.utf8().find('/') != std::string::npos)
        return {};
    return path.stringByAppendingPathComponent("Contents/MacOS").stringByAppendingPathComponent(executable).utf8();
}

// Starts the program in a session of its own, so that it outlives this process and its terminal;
// should it end first, a thread of ours reaps it. True when the program could be executed.
bool startDetached(std::vector<std::string> words, bool searchPath)
{
    spawn::Launch launch = {words.front(), std::move(words), spawn::currentEnvironment()};
    launch.searchPath = searchPath;
    launch.newSession = true;
    const pid_t program = spawn::start(launch);
    if (program < 0)
        return false;
    spawn::reapWhenDone(program);
    return true;
}

} // namespace

NSWorkspace* NSWorkspace::sharedWorkspace()
{
    static NSWorkspace workspace;
    return &workspace;
}

BOOL NSWorkspace::openFile(const NSString& fullPath)
{
    if (fullPath.length() == 0 || !NSFileManager::defaultManager()->fileExistsAtPath(fullPath))
        return NO;
    const std::string executable = applicationExecutable(fullPath);
    if (!executable.empty())
        return startDetached({executable}, false);
    return startDetached({"xdg-open", fullPath.utf8()}, true);
}
