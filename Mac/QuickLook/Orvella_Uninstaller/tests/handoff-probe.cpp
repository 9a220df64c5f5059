// Opens a preference pane bundle as prefhost does and presses its "butUninstall" button, as the
// user would. Prints "returned" when the action comes back instead of ending the process.
#include <AppKit/AppKitApplication.h>
#include <QApplication>
#include <QPushButton>

#include <cstdio>

#include "PaneHost.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: handoff-probe PATH/NAME.prefPane\n");
        return 2;
    }
    QApplication application(argc, argv);
    PaneHost host;
    if (!host.openPane(NSString(argv[1]))) {
        std::fprintf(stderr, "handoff-probe: %s\n", host.error().UTF8String());
        return 1;
    }
    auto* button = host.window()->widget()->findChild<QPushButton*>("butUninstall");
    if (button == nullptr) {
        std::fprintf(stderr, "handoff-probe: the pane has no butUninstall\n");
        return 1;
    }
    std::printf("opened\n");
    std::fflush(stdout);
    button->click();
    std::printf("returned\n");
    return 0;
}
