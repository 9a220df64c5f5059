// The Qt application behind every window and alert of this process.
#pragma once

class QApplication;

// The running QApplication, made on first use when the program has none. Without any display
// the offscreen platform is used so that nothing aborts.
QApplication* AppKitEnsureApplication();
