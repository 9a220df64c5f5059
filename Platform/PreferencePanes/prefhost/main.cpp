// prefhost PATH/Some.prefPane — shows one preference pane in a window until the window is closed.
#include "PaneHost.h"

#include <AppKit/AppKitApplication.h>

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: prefhost PATH/NAME.prefPane\n");
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
