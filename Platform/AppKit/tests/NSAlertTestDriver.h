// The alert presenter of test programs, linked in place of AppKit's own (it defines
// NSAlert::runModal, which the program then exports over the library's). Each alert's real
// window is built, answered by pressing a button by its title, and recorded.
//
// Answers come from answerWith, or else, for child processes, from the environment:
//   NSALERT_ANSWERS="Later|Ok"  the titles to press, one per alert, in order.
//   NSALERT_LOG=/path           each alert appends one line, fields separated by a tab: message
//                               text, informative text, style number, the button titles joined
//                               by "|", the title pressed. Tab, newline and backslash within a
//                               field are written as \t, \n and \\.
// A title the alert does not have, or no answer left, presses the last button and says so on
// standard error, so no test hangs.
#pragma once

#include <functional>
#include <string>
#include <vector>

class NSAlertPanel;

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
// Called with each alert's window, laid out but not yet answered.
void whenShown(std::function<void(NSAlertPanel&)> look);
// Forgets queued answers, recorded alerts and the whenShown call.
void reset();
}  // namespace NSAlertTestDriver
