// One run of qxpextract on a document, as the generator makes it: a pasteboard name of its own
// for this run, the tool as a child process with a time limit, every item read back, and the
// pasteboard removed afterwards so that nothing of the document, nor the pasteboard, stays behind.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

enum class QxpExtractOutcome {
    Finished,       // the tool ended normally; the items say what it found (none: unreadable)
    NotStarted,     // the tool could not be started
    TimedOut,       // the tool was stopped at the time limit
    Failed,         // the tool ended with a failure status or a signal
    NoPasteboard,   // the pasteboard store could not be opened
};

struct QxpExtractItems {
    QxpExtractOutcome outcome = QxpExtractOutcome::NotStarted;
    std::map<intptr_t, std::string> data;  // item ID -> its bytes (text as UTF-8, the picture as PNG)
    std::string pasteboardName;            // the run's own name, for messages and tests
};

// mode is "-t", "-p" or "-s". The tool's diagnostic line is discarded, so the caller's standard
// output stays its own.
QxpExtractItems RunQxpExtract(const std::string& qxpextractPath, const std::string& mode, const std::string& document,
                              std::chrono::milliseconds timeLimit = std::chrono::seconds(10));
