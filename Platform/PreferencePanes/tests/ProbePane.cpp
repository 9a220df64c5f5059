// A pane that writes each call the host makes to $PROBE_LOG, presses its own button once shown
// and, with $PROBE_CLOSE set, closes its window as the user would.
#include <PreferencePanes/PreferencePanes.h>

#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <fstream>

namespace {
void record(const char* call)
{
    if (const char* log = std::getenv("PROBE_LOG"))
        std::ofstream(log, std::ios::app) << call << '\n';
}
}  // namespace

class ProbePane : public NSPreferencePane {
public:
    NSButton* button = nil;

    void nibConnections(NSNibConnections& connections) override
    {
        connections.outlet("button", button);
        connections.action("press:", [](id) { record("press:"); });
    }
    void mainViewDidLoad() override { record(button ? "mainViewDidLoad with button" : "mainViewDidLoad without button"); }
    void willSelect() override { record("willSelect"); }
    void didSelect() override
    {
        record("didSelect");
        QTimer::singleShot(0, [this] {
            button->performClick(nil);
            if (std::getenv("PROBE_CLOSE"))
                mainView()->widget()->window()->close();
        });
    }
    void willUnselect() override { record("willUnselect"); }
    void didUnselect() override { record("didUnselect"); }
};

static NSClassRegistration<ProbePane> registration("ProbePane");
