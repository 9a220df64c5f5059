// The run of qxpextract that the preview and search make: the items come back, the pasteboard
// goes, and a tool that hangs or is missing gives a clear outcome instead of a wait.
#include "ExtractedDocument.h"
#include "QxpExtractRun.h"
#include "PrivateRuntimeFolder.h"
#include "Samples.h"

#include <ChildProcess.h>
#include <TemporaryFolder.h>

#include <HIServices/Pasteboard.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

bool PasteboardLeftBehind(const std::string& name) {
    CFStringRef cfName = CFStringCreateWithCString(kCFAllocatorDefault, name.c_str(), kCFStringEncodingUTF8);
    PasteboardRef pasteboard = nullptr;
    bool exists = true;
    if (PasteboardCreate(cfName, &pasteboard) == noErr) {
        exists = PasteboardExists(pasteboard);
        CFRelease(pasteboard);
    }
    CFRelease(cfName);
    return exists;
}

TEST(QxpExtractRun, PreviewItemsComeBackAndThePasteboardGoes) {
    const std::string sample = std::string(SAMPLES) + "/colors.qxd";
    const QxpExtractItems first = RunQxpExtract(QXPEXTRACT, "-p", sample);
    const QxpExtractItems second = RunQxpExtract(QXPEXTRACT, "-p", sample);
    ASSERT_EQ(first.outcome, QxpExtractOutcome::Finished);
    EXPECT_NE(first.pasteboardName, second.pasteboardName);
    EXPECT_EQ(first.data, second.data);
    EXPECT_FALSE(PasteboardLeftBehind(first.pasteboardName));
    EXPECT_FALSE(PasteboardLeftBehind(second.pasteboardName));

    const ExtractedDocument document = ExtractedDocumentFromItems(first.data);
    EXPECT_EQ(document.summary.rfind("QuarkXPress", 0), 0u) << document.summary;
    EXPECT_EQ(document.pagePicture.substr(0, 4), "\x89PNG");
    EXPECT_FALSE(document.colors.empty());
    EXPECT_EQ(document.pageSizes.size(), 1u);
}

TEST(QxpExtractRun, UnreadableDocumentsGiveNoFacts) {
    for (const std::string& path : UnreadableDocuments()) {
        const QxpExtractItems run = RunQxpExtract(QXPEXTRACT, "-s", path);
        EXPECT_EQ(run.outcome, QxpExtractOutcome::Finished) << path;
        EXPECT_TRUE(ExtractedDocumentFromItems(run.data).empty()) << path;
    }
}

TEST(QxpExtractRun, AToolThatHangsFailsOrIsMissingGivesItsOutcome) {
    TemporaryFolder folder("foliotta-tools");
    auto tool = [&](const std::string& name, const std::string& body) {
        const std::string path = folder.WriteFile(name, "#!/bin/sh\n" + body + "\n");
        chmod(path.c_str(), 0755);
        return path;
    };
    const std::string extractFirst = std::string("\"") + QXPEXTRACT + "\" \"$@\" > /dev/null\n";
    struct Case {
        std::string tool;
        QxpExtractOutcome outcome;
    } cases[] = {
        // Each writes the document's items first, as far as a run that then went wrong may get.
        {tool("hangs", extractFirst + "exec sleep 30"), QxpExtractOutcome::TimedOut},
        {tool("fails", extractFirst + "exit 3"), QxpExtractOutcome::Failed},
        {tool("crashes", extractFirst + "kill -SEGV $$"), QxpExtractOutcome::Failed},
        {folder.path() + "/missing", QxpExtractOutcome::NotStarted},
    };
    for (const Case& c : cases) {
        const auto started = std::chrono::steady_clock::now();
        const QxpExtractItems run = RunQxpExtract(c.tool, "-p", std::string(SAMPLES) + "/colors.qxd", std::chrono::milliseconds(300));
        EXPECT_EQ(run.outcome, c.outcome) << c.tool;
        EXPECT_TRUE(run.data.empty()) << c.tool;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << c.tool;
        EXPECT_FALSE(PasteboardLeftBehind(run.pasteboardName)) << c.tool;
    }
}

TEST(ExtractedDocument, ListsStopAtTheirFirstGapAndNeverReachTheNextList) {
    std::map<intptr_t, std::string> items = {{5001, "#ff0000"}, {5002, "#00ff00"}, {5004, "#0000ff"},
                                             {10001, "612 x 792 pt"}, {100001, "Arial"}, {1000001, "Hello"}};
    const ExtractedDocument document = ExtractedDocumentFromItems(items);
    EXPECT_EQ(document.colors, (std::vector<std::string>{"#ff0000", "#00ff00"}));
    EXPECT_EQ(document.pageSizes, (std::vector<std::string>{"612 x 792 pt"}));
    EXPECT_EQ(document.fonts, (std::vector<std::string>{"Arial"}));
    EXPECT_EQ(document.paragraphs, (std::vector<std::string>{"Hello"}));

    // One more than a list may hold: the last sits where the next list begins.
    using List = std::vector<std::string> ExtractedDocument::*;
    const struct {
        intptr_t first;
        size_t room;
        List list, next;
    } rooms[] = {{5001, 5000, &ExtractedDocument::colors, &ExtractedDocument::pageSizes},
                 {10001, 90000, &ExtractedDocument::pageSizes, &ExtractedDocument::fonts}};
    for (const auto& room : rooms) {
        items.clear();
        for (size_t i = 0; i <= room.room; ++i) items[room.first + static_cast<intptr_t>(i)] = "x";
        const ExtractedDocument full = ExtractedDocumentFromItems(items);
        EXPECT_EQ((full.*room.list).size(), room.room) << room.first;
        EXPECT_EQ((full.*room.next).size(), 1u) << room.first;
        EXPECT_FALSE(full.empty());
    }
    EXPECT_TRUE(ExtractedDocumentFromItems({}).empty());
}

}  // namespace

// Every test and the programs it starts use a pasteboard store of their own.
static ::testing::Environment* const privateRuntime = ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder());
