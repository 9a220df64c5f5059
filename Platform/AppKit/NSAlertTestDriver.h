// Drives NSAlert from tests in the same process: queued answers press buttons by title, and every
// alert run is recorded. Takes precedence over NSALERT_ANSWERS while answers are queued.
#pragma once

#include <string>
#include <vector>

struct NSAlertRecord {
    std::string messageText;
    std::string informativeText;
    unsigned long alertStyle = 0;
    std::vector<std::string> buttonTitles;
    std::string pressedTitle;
};

namespace NSAlertTestDriver {
// Each following alert is answered by the next title.
void answerWith(const std::vector<std::string>& titles);
// Every alert run in this process so far, oldest first.
const std::vector<NSAlertRecord>& recordedAlerts();
// Forgets queued answers and recorded alerts.
void reset();
}  // namespace NSAlertTestDriver
