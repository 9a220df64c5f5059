#include <AppKit/AppKitApplication.h>

#include <QApplication>

#include <cstdlib>

QApplication* AppKitEnsureApplication()
{
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return existing;
    const bool hasDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
    if (!hasDisplay)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "AppKit";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);  // lives as long as the process
    return application;
}
