#include <AppKit/NSWorkspace.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

// Starts the program in a new session under a short-lived intermediate child, so that it is
// nobody's child here and outlives this process. Waits only for the program to have been
// executed: true when the exec succeeded.
bool startDetached(std::vector<std::string> words, bool searchPath)
{
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t intermediate = fork();
    if (intermediate < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (intermediate == 0) {
        close(report[0]);
        setsid();
        const pid_t program = fork();
        if (program == 0) {
            const int nothing = open("/dev/null", O_RDWR);
            if (nothing >= 0) {
                dup2(nothing, STDIN_FILENO);
                if (nothing != STDIN_FILENO)
                    close(nothing);
            }
            if (searchPath)
                execvp(argv[0], argv.data());
            else
                execv(argv[0], argv.data());
            const int error = errno;
            (void)!write(report[1], &error, sizeof error);
            _exit(127);
        }
        if (program < 0) {
            const int error = errno;
            (void)!write(report[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(intermediate, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t count;
    while ((count = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    return count == 0;
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
