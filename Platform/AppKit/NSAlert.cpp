#include "NSAlert.h"

#include "AppKitApplication.h"
#include "NSAlertTestDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
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
    bool environmentRead = false;
    std::optional<std::deque<std::string>> environmentAnswers;  // from NSALERT_ANSWERS, when set
};

DriverState& driver()
{
    static DriverState state;
    return state;
}

std::deque<std::string> splitAnswers(const std::string& list)
{
    std::deque<std::string> answers;
    size_t start = 0;
    for (size_t bar; (bar = list.find('|', start)) != std::string::npos; start = bar + 1)
        answers.push_back(list.substr(start, bar - start));
    answers.push_back(list.substr(start));
    return answers;
}

// The answer the driver gives to this alert: none when no driver is active; an empty title when
// a driver is active but has no answer left.
std::optional<std::string> nextDrivenAnswer()
{
    DriverState& state = driver();
    if (!state.queuedAnswers.empty()) {
        std::string answer = state.queuedAnswers.front();
        state.queuedAnswers.pop_front();
        return answer;
    }
    if (!state.environmentRead) {
        state.environmentRead = true;
        if (const char* list = std::getenv("NSALERT_ANSWERS"))
            state.environmentAnswers = splitAnswers(list);
    }
    if (!state.environmentAnswers)
        return std::nullopt;
    if (state.environmentAnswers->empty())
        return std::string();
    std::string answer = state.environmentAnswers->front();
    state.environmentAnswers->pop_front();
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

QMessageBox::Icon iconForStyle(NSAlertStyle style)
{
    switch (style) {
    case NSInformationalAlertStyle: return QMessageBox::Information;
    case NSCriticalAlertStyle: return QMessageBox::Critical;
    default: return QMessageBox::Warning;
    }
}

}  // namespace

NSModalResponse NSAlert::runModal()
{
    AppKitEnsureApplication();
    std::vector<NSString> titles = buttonTitles_.empty() ? std::vector<NSString>{NSString("OK")} : buttonTitles_;

    QMessageBox box;
    box.setIcon(iconForStyle(alertStyle_));
    box.setWindowTitle(QString::fromUtf8(messageText_.UTF8String()));
    box.setText(QString::fromUtf8(messageText_.UTF8String()));
    box.setInformativeText(QString::fromUtf8(informativeText_.UTF8String()));
    std::vector<QPushButton*> buttons;
    for (const NSString& title : titles)
        buttons.push_back(box.addButton(QString::fromUtf8(title.UTF8String()), QMessageBox::ActionRole));
    box.setDefaultButton(buttons.front());
    box.setEscapeButton(buttons.size() > 1 ? buttons.back() : buttons.front());

    std::optional<std::string> answer = nextDrivenAnswer();
    if (!answer && QGuiApplication::platformName() == QLatin1String("offscreen")) {
        // Nobody can see or press this alert: answer it as Escape would rather than wait forever.
        std::fprintf(stderr, "NSAlert: \"%s\" shown where no one can answer it; pressing \"%s\"\n", messageText_.UTF8String(),
                     titles.back().UTF8String());
        answer = titles.back().utf8();
    }
    if (answer) {
        QPushButton* chosen = nullptr;
        for (QPushButton* button : buttons)
            if (!chosen && button->text().toStdString() == *answer)
                chosen = button;
        if (!chosen) {
            std::fprintf(stderr, "NSAlert test driver: no answer \"%s\" for alert \"%s\"; pressing \"%s\"\n", answer->c_str(),
                         messageText_.UTF8String(), titles.back().UTF8String());
            chosen = buttons.back();
        }
        QTimer::singleShot(0, &box, [chosen] { chosen->click(); });
    }

    box.exec();
    NSModalResponse response = NSAlertFirstButtonReturn + static_cast<NSModalResponse>(buttons.size() - 1);
    for (size_t index = 0; index < buttons.size(); ++index)
        if (box.clickedButton() == buttons[index])
            response = NSAlertFirstButtonReturn + static_cast<NSModalResponse>(index);

    NSAlertRecord record{messageText_.utf8(), informativeText_.utf8(), alertStyle_, {}, {}};
    for (const NSString& title : titles)
        record.buttonTitles.push_back(title.utf8());
    record.pressedTitle = titles[static_cast<size_t>(response - NSAlertFirstButtonReturn)].utf8();
    driver().records.push_back(record);
    appendToLog(record);
    return response;
}

void NSAlertTestDriver::answerWith(const std::vector<std::string>& titles)
{
    driver().queuedAnswers.assign(titles.begin(), titles.end());
}

const std::vector<NSAlertRecord>& NSAlertTestDriver::recordedAlerts() { return driver().records; }

void NSAlertTestDriver::reset()
{
    driver().queuedAnswers.clear();
    driver().records.clear();
}
