// prefhost PATH/Some.prefPane — shows one preference pane in a window until the window is closed.
// prefhost --installed Some.prefPane — the same for the installed copy that System Preferences
// would show: the user's own, else the system's.
#include "InstalledPane.h"
#include "PaneHost.h"

#include <AppKit/AppKitApplication.h>

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    constexpr const char* usage = "usage: prefhost PATH/NAME.prefPane\n       prefhost --installed NAME.prefPane\n";
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("%sShows one preference pane in a window until the window is closed.\n", usage);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("prefhost %s\n", ORVELLA_VERSION);
        return 0;
    }
    const bool installed = argc == 3 && std::strcmp(argv[1], "--installed") == 0;
    if (argc != 2 && !installed) {
        std::fputs(usage, stderr);
        return 2;
    }
    NSString bundlePath(argv[argc - 1]);
    if (installed) {
        bundlePath = InstalledPanePath(NSString(argv[2]));
        if (bundlePath.utf8().empty()) {
            const std::vector<NSString> folders = PreferencePaneFolders();
            std::fprintf(stderr, "prefhost: no %s in %s or %s\n", argv[2], folders[0].UTF8String(), folders[1].UTF8String());
            return 1;
        }
    }
    QApplication application(argc, argv);
    application.setApplicationName("System Preferences");
    application.setQuitOnLastWindowClosed(true);

    PaneHost host;
    if (!host.openPane(bundlePath)) {
        std::fprintf(stderr, "prefhost: %s\n", host.error().UTF8String());
        return 1;
    }
    return application.exec();
}
