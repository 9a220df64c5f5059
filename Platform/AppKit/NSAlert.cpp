// The alert presenter: shows the alert's window and waits for the user. Tests link a presenter of
// their own in place of this file's runModal.
#include <AppKit/NSAlert.h>

#include <AppKit/DialogPlatforms.h>
#include <AppKit/NSAlertPanel.h>

#include <QGuiApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

NSModalResponse NSAlert::runModal()
{
    NSAlertPanel panel(*this);
    if (QtPlatformDrawsNowhere(QGuiApplication::platformName().toStdString())) {
        // Nobody can see or press this alert: answer it as Escape would rather than wait forever.
        const NSString& last = panel.buttonTitles().back();
        std::fprintf(stderr, "NSAlert: no one can answer \"%s\" (\"%s\") here; pressing \"%s\"\n", messageText_.UTF8String(),
                     informativeText_.UTF8String(), last.UTF8String());
        QPushButton* escape = panel.button(panel.buttonTitles().size() - 1);
        QTimer::singleShot(0, escape, [escape] { escape->click(); });
    }
    return panel.run();
}
