#include "NSAlertTestDriver.h"

#include <AppKit/NSAlert.h>
#include <AppKit/NSAlertPanel.h>

#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <optional>

namespace {

struct DriverState {
    std::deque<std::string> queuedAnswers;
    std::vector<NSAlertRecord> records;
    std::function<void(NSAlertPanel&)> look;
    bool environmentRead = false;
};

DriverState& driver()
{
    static DriverState state;
    return state;
}

void queueAnswersFromEnvironment(DriverState& state)
{
    state.environmentRead = true;
    const char* list = std::getenv("NSALERT_ANSWERS");
    if (!list)
        return;
    const std::string answers = list;
    size_t start = 0;
    for (size_t bar; (bar = answers.find('|', start)) != std::string::npos; start = bar + 1)
        state.queuedAnswers.push_back(answers.substr(start, bar - start));
    state.queuedAnswers.push_back(answers.substr(start));
}

std::optional<std::string> nextAnswer()
{
    DriverState& state = driver();
    if (!state.environmentRead)
        queueAnswersFromEnvironment(state);
    if (state.queuedAnswers.empty())
        return std::nullopt;
    std::string answer = state.queuedAnswers.front();
    state.queuedAnswers.pop_front();
    return answer;
}

std::string escapeField(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '\t': escaped += "\\t"; break;
        case '\n': escaped += "\\n"; break;
        case '\\': escaped += "\\\\"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

void appendToLog(const NSAlertRecord& record)
{
    const char* logPath = std::getenv("NSALERT_LOG");
    if (!logPath || !*logPath)
        return;
    std::string buttons;
    for (const auto& title : record.buttonTitles)
        buttons += (buttons.empty() ? "" : "|") + title;
    std::ofstream log(logPath, std::ios::app);
    log << escapeField(record.messageText) << '\t' << escapeField(record.informativeText) << '\t' << record.alertStyle << '\t'
        << escapeField(buttons) << '\t' << escapeField(record.pressedTitle) << '\n';
}

}  // namespace

NSModalResponse NSAlert::runModal()
{
    NSAlertPanel panel(*this);
    if (driver().look)
        driver().look(panel);

    const std::vector<NSString>& titles = panel.buttonTitles();
    const std::optional<std::string> answer = nextAnswer();
    size_t chosen = titles.size() - 1;
    bool found = false;
    for (size_t index = 0; answer && index < titles.size() && !found; ++index)
        if (titles[index].utf8() == *answer) {
            chosen = index;
            found = true;
        }
    if (!found)
        std::fprintf(stderr, "NSAlert test driver: no answer \"%s\" for alert \"%s\"; pressing \"%s\"\n",
                     answer ? answer->c_str() : "", messageText().UTF8String(), titles.back().UTF8String());
    QPushButton* button = panel.button(chosen);
    QTimer::singleShot(0, button, [button] { button->click(); });
    const NSModalResponse response = panel.run();

    NSAlertRecord record{messageText().utf8(), informativeText().utf8(), alertStyle(), {}, {}};
    for (const NSString& title : titles)
        record.buttonTitles.push_back(title.utf8());
    record.pressedTitle = titles.at(static_cast<size_t>(response - NSAlertFirstButtonReturn)).utf8();
    driver().records.push_back(record);
    appendToLog(record);
    return response;
}

void NSAlertTestDriver::answerWith(const std::vector<std::string>& titles)
{
    driver().queuedAnswers.assign(titles.begin(), titles.end());
    driver().environmentRead = true;
}

const std::vector<NSAlertRecord>& NSAlertTestDriver::recordedAlerts() { return driver().records; }

void NSAlertTestDriver::whenShown(std::function<void(NSAlertPanel&)> look) { driver().look = std::move(look); }

void NSAlertTestDriver::reset()
{
    driver().queuedAnswers.clear();
    driver().records.clear();
    driver().look = nullptr;
}
