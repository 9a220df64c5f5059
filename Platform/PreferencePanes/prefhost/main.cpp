// prefhost PATH/Some.prefPane — shows one preference pane in a window until the window is closed.
#include "PaneHost.h"

#include <AppKit/AppKitApplication.h>

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    constexpr const char* usage = "usage: prefhost PATH/NAME.prefPane\n";
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("%sShows one preference pane in a window until the window is closed.\n", usage);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("prefhost %s\n", ORVELLA_VERSION);
        return 0;
    }
    if (argc != 2) {
        std::fputs(usage, stderr);
        return 2;
    }
    QApplication application(argc, argv);
    application.setApplicationName("System Preferences");
    application.setQuitOnLastWindowClosed(true);

    PaneHost host;
    if (!host.openPane(NSString(argv[1]))) {
        std::fprintf(stderr, "prefhost: %s\n", host.error().UTF8String());
        return 1;
    }
    return application.exec();
}
