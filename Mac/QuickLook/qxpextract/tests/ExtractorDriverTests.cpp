// The extractor end to end against the scripted library: what lands on the pasteboard, in which
// order and under which IDs, for each mode and each way a run can go wrong.
#include "PrivateRuntimeFolder.h"

#include <ChildProcess.h>
#include <PasteboardContents.h>
#include <TemporaryFolder.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <sstream>

namespace {

const std::string kText = "public.utf8-plain-text";
const std::string kPNG = "public.png";

class ExtractorDriver : public ::testing::Test {
protected:
    std::string Document(const std::string& script, const std::string& name = "document.fake") {
        return folder_.WriteFile(name, script);
    }

    ChildResult Run(const std::vector<std::string>& arguments,
                    std::map<std::string, std::optional<std::string>> environment = {}) {
        std::vector<std::string> command = {FAKE_EXTRACTOR};
        command.insert(command.end(), arguments.begin(), arguments.end());
        environment["FAKE_QXP_LOG"] = logPath_;
        return RunChild(command, environment);
    }

    std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        std::stringstream log(ReadWholeFile(logPath_));
        for (std::string line; std::getline(log, line);) lines.push_back(line);
        return lines;
    }

    std::string Pasteboard() const { return "extractor-test-" + std::to_string(::getpid()) + "-" + testName_; }

    TemporaryFolder folder_;
    std::string logPath_ = folder_.path() + "/library.log";
    std::string testName_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

const char* kEveryEntry =
    "string\t1\tQuarkXPress 4.0 document, 2 pages\n"
    "float\t2\t612\n"
    "float\t4\t651.9685\n"
    "list\t16\tFirst paragraph\tSecond paragraph\n"
    "list\t64\tArial\tTimes\n"
    "list\t32\t#000000\n"
    "list\t128\t612 x 792 pt\t612 x 792 pt\n"
    "image\t8\t40\t20\n"
    "string\t256\tFirst paragraph\\nSecond paragraph\n"
    "string\t512\tQuarkXPress 4.0\n";

TEST_F(ExtractorDriver, DiagnosticLineIsExactAndHasNoLineEnd) {
    ChildResult result = Run({"-x", "/no/such file", Pasteboard(), "ignored", "also ignored"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.standardOutput,
              "argument 1 = -x argument 2 = /no/such file argument 3(string) = " + Pasteboard());
    EXPECT_EQ(result.standardError, "");
}

// Each mode asks the library for its entries and publishes them in its own order: texts, and the
// picture (item 2) as a PNG of the library's size.
TEST_F(ExtractorDriver, EachModePublishesItsEntriesInItsOrder) {
    const struct {
        const char* modeSwitch;
        const char* request;
        std::vector<intptr_t> items;
        std::map<size_t, std::string> texts;  // by position
    } modes[] = {
        {"-p", "CreateIQXPExtractInfo 255 0 0 0", {3, 4, 5, 1000001, 1000002, 100001, 100002, 5001, 10001, 10002, 2},
         {{0, "QuarkXPress 4.0 document, 2 pages"}, {1, "612"}, {2, "651.9685"}, {3, "First paragraph"}, {5, "Arial"}}},
        {"-s", "CreateIQXPExtractInfo 992 0 0 0", {100001, 100002, 5001, 10001, 10002, 1, 0},
         {{5, "QuarkXPress 4.0"}, {6, "First paragraph\nSecond paragraph"}}},
        {"-t", "CreateIQXPExtractInfo 8 0 0 0", {2}, {}},
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.modeSwitch);
        std::remove(logPath_.c_str());
        ASSERT_EQ(Run({mode.modeSwitch, Document(kEveryEntry), Pasteboard()}).exitStatus, 0);
        auto entries = PasteboardContents(Pasteboard());
        ASSERT_EQ(ItemIDs(entries), mode.items);
        for (const auto& [position, text] : mode.texts) EXPECT_EQ(entries[position].data, text) << position;
        for (const auto& entry : entries) EXPECT_EQ(entry.flavor, entry.item == 2 ? kPNG : kText) << entry.item;
        // The signature, then IHDR with width and height, big-endian.
        if (mode.items.back() == 2) {
            EXPECT_EQ(entries.back().data.substr(0, 24), std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x28\0\0\0\x14", 24));
        }
        EXPECT_EQ(LogLines().front(), mode.request);
    }
}

TEST_F(ExtractorDriver, SwitchesMatchOnlyExactly) {
    std::string document = Document(kEveryEntry);
    for (std::string modeSwitch : {"-P", "-p ", "--p", "-", "", "p", "-pp", "-t\xC2\xA0"}) {
        PutMarker(Pasteboard(), 7, "left from an earlier run");
        ChildResult result = Run({modeSwitch, document, Pasteboard()});
        EXPECT_EQ(result.exitStatus, 0) << modeSwitch;
        EXPECT_TRUE(PasteboardContents(Pasteboard()).empty()) << "switch '" << modeSwitch << "'";
    }
    // No request was made, yet the document was still opened and extracted with none.
    auto log = LogLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "ExtractMetaData null"), 8);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](auto& l) { return l.rfind("CreateIQXPExtractInfo", 0) == 0; }), 0);
}

TEST_F(ExtractorDriver, FailedRunsLeaveAnEmptyPasteboard) {
    struct Case {
        const char* what;
        std::string script;
        const char* modeSwitch;
    };
    std::vector<Case> cases = {
        {"extraction fails", std::string("extract\t-5\n") + kEveryEntry, "-p"},
        {"no reader", std::string("reader\tnone\n") + kEveryEntry, "-p"},
        {"no picture value", "image\t8\tnone\n", "-t"},
        {"picture entry of another kind", "string\t8\tnot a picture\n", "-t"},
        {"nothing extracted", "", "-s"},
    };
    for (const Case& c : cases) {
        PutMarker(Pasteboard(), 3, "left from an earlier run");
        ChildResult result = Run({c.modeSwitch, Document(c.script), Pasteboard()});
        EXPECT_EQ(result.exitStatus, 0) << c.what;
        EXPECT_TRUE(PasteboardContents(Pasteboard()).empty()) << c.what;
    }
    PutMarker(Pasteboard(), 3, "left from an earlier run");
    EXPECT_EQ(Run({"-p", folder_.path() + "/missing document", Pasteboard()}).exitStatus, 0);
    EXPECT_TRUE(PasteboardContents(Pasteboard()).empty());
}

TEST_F(ExtractorDriver, FailuresOfPlatformCallsAreNotFatal) {
    // No request could be made: the document is still read, with none, and nothing is published.
    PutMarker(Pasteboard(), 3, "left from an earlier run");
    ChildResult noRequest = Run({"-p", Document(kEveryEntry), Pasteboard()}, {{"FAKE_QXP_NO_REQUEST", "1"}});
    EXPECT_EQ(noRequest.exitStatus, 0);
    EXPECT_TRUE(PasteboardContents(Pasteboard()).empty());
    auto log = LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "ExtractMetaData null"), log.end());

    // The pasteboard store cannot be opened (its folder is a link): every put fails, the run ends normally.
    TemporaryFolder runtime("orvella-broken-runtime");
    ASSERT_EQ(symlink("/tmp", (runtime.path() + "/pasteboards").c_str()), 0);
    ChildResult noStore = Run({"-p", Document(kEveryEntry), Pasteboard()}, {{"XDG_RUNTIME_DIR", runtime.path()}});
    EXPECT_EQ(noStore.exitStatus, 0);
    EXPECT_EQ(noStore.standardOutput.rfind("argument 1 = -p", 0), 0u);
    EXPECT_EQ(noStore.standardError, "");
    EXPECT_EQ(LogLines().back(), "alive 0");
}

TEST_F(ExtractorDriver, EntriesOfAnotherKindAreSkippedAndTheRunGoesOn) {
    std::string script =
        "binary\t1\n"             // not a text
        "string\t2\t612\n"        // not a float
        "float\t4\t792\n"
        "string\t16\tnot a list\n"
        "list\t64\t\n"            // one empty string is still an element
        "list\t32\n"              // no elements
        "list\t128\t612 x 792 pt\n"
        "binary\t8\n";
    ASSERT_EQ(Run({"-p", Document(script), Pasteboard()}).exitStatus, 0);
    auto entries = PasteboardContents(Pasteboard());
    EXPECT_EQ(ItemIDs(entries), (std::vector<intptr_t>{5, 100001, 10001}));
    EXPECT_EQ(entries[0].data, "792");
    EXPECT_EQ(entries[1].data, "");
}

TEST_F(ExtractorDriver, ListsUseConsecutiveIDsAndSkipElementsTheLibraryCouldNotDeliver) {
    std::string script =
        "list\t16\tone\ttwo\tthree\n"
        "numbered\t32\t2\tcolour \n"
        "list\t128\tpage\n"
        "numbered\t64\t3\tfont \n"
        "hole\t64\t1\n";
    ASSERT_EQ(Run({"-p", Document(script), Pasteboard()}).exitStatus, 0);
    auto entries = PasteboardContents(Pasteboard());
    auto byID = ByItem(entries);
    EXPECT_EQ(byID[1000001], "one");
    EXPECT_EQ(byID[1000003], "three");
    EXPECT_EQ(byID.count(1000004), 0u);
    EXPECT_EQ(byID[100001], "font 0");
    EXPECT_EQ(byID.count(100002), 0u);  // the element the library could not deliver
    EXPECT_EQ(byID[100003], "font 2");
    EXPECT_EQ(byID[5001], "colour 0");
    EXPECT_EQ(byID[5002], "colour 1");
    EXPECT_EQ(byID[10001], "page");
    EXPECT_EQ(entries.size(), 3u + 2u + 2u + 1u);
}

// Each list alone, one element longer than its room: the last element has no ID of its own, so
// the first ID of the next list stays free.
TEST_F(ExtractorDriver, AListLongerThanItsRoomStopsAtIt) {
    const struct {
        const char* entry;
        intptr_t firstItem;
        size_t room;
    } lists[] = {{"32", 5001, 5000}, {"128", 10001, 90000}};
    for (const auto& list : lists) {
        SCOPED_TRACE(list.entry);
        const std::string script = std::string("numbered\t") + list.entry + "\t" + std::to_string(list.room + 1) + "\tx\n";
        ASSERT_EQ(Run({"-s", Document(script), Pasteboard()}).exitStatus, 0);
        const auto entries = PasteboardContents(Pasteboard());
        ASSERT_EQ(entries.size(), list.room);
        EXPECT_EQ(entries.front().item, list.firstItem);
        EXPECT_EQ(entries.back().item, list.firstItem + static_cast<intptr_t>(list.room) - 1);
        EXPECT_EQ(entries.back().data, "x" + std::to_string(list.room - 1));
    }
}

TEST_F(ExtractorDriver, NonASCIITextArrivesAsUTF8AndItemZeroIsReal) {
    const std::string text = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
    ASSERT_EQ(Run({"-s", Document("string\t256\t" + text + "\nstring\t512\t\n"), Pasteboard()}).exitStatus, 0);
    auto entries = PasteboardContents(Pasteboard());
    ASSERT_EQ(ItemIDs(entries), (std::vector<intptr_t>{1, 0}));
    EXPECT_EQ(entries[0].data, "");
    EXPECT_EQ(entries[1].data, text);
}

TEST_F(ExtractorDriver, DocumentPathsReachTheLibraryAsUTF16) {
    // A UTF-8 name with blanks and letters beyond ASCII opens as it is.
    std::string document = Document(kEveryEntry, "d\xC3\xB6" "c \xE6\x97\xA5.fake");
    ASSERT_EQ(Run({"-s", document, Pasteboard()}).exitStatus, 0);
    EXPECT_EQ(PasteboardContents(Pasteboard()).size(), 7u);
    // A byte that cannot start UTF-8 is read as Mac OS Roman: 0xE9 is "È" (U+00C8), 0xA5 a bullet.
    Run({"-s", "/\xE9\xA5", Pasteboard()});
    auto log = LogLines();
    EXPECT_NE(std::find(log.begin(), log.end(), "CreateQXPMetaDataReader 002F 00C8 2022"), log.end());
}

TEST_F(ExtractorDriver, PasteboardNameThatIsNotUTF8GoesToAFreshPasteboard) {
    // No string can be made of the name, so the run writes into a new, uniquely named pasteboard
    // and leaves alone those whose names the bad one resembles.
    const std::string suffix = "name-" + std::to_string(::getpid());
    for (std::string lookalike : {"bad" + suffix, "bad\xEF\xBF\xBD" + suffix, "bad?" + suffix})
        PutMarker(lookalike, 9, "keep me");
    ChildResult result = Run({"-p", Document(kEveryEntry), "bad\xFF" + suffix});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.standardError, "");
    for (std::string lookalike : {"bad" + suffix, "bad\xEF\xBF\xBD" + suffix, "bad?" + suffix})
        EXPECT_EQ(PasteboardContents(lookalike).size(), 1u) << lookalike;
}

TEST_F(ExtractorDriver, TooFewArgumentsTouchNothing) {
    PutMarker(Pasteboard(), 9, "keep me");
    for (std::vector<std::string> arguments : std::vector<std::vector<std::string>>{{}, {"-p"}, {"-p", "doc"}}) {
        ChildResult result = Run(arguments);
        EXPECT_EQ(result.exitStatus, 255);
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_NE(result.standardError.find("usage"), std::string::npos);
        EXPECT_EQ(std::count(result.standardError.begin(), result.standardError.end(), '\n'), 1);
    }
    EXPECT_EQ(PasteboardContents(Pasteboard()).size(), 1u);
}

TEST_F(ExtractorDriver, EveryReferenceIsReleasedOnceInReverseOrder) {
    ASSERT_EQ(Run({"-p", Document(kEveryEntry), Pasteboard()}).exitStatus, 0);
    auto log = LogLines();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "alive 0");
    // At the end the holders hold: image 8 (also the current value), list 128, its last element,
    // float 4, then the dictionary, the reader and the request.
    std::vector<std::string> expected = {"Release image:8 2",       "Release list:128 1",  "Release element:128:1 0",
                                         "Release float:4 1",       "Release image:8 1",   "Release dictionary 0",
                                         "Release reader 0",        "Release request 0"};
    auto position = log.begin();
    for (const std::string& line : expected) {
        position = std::find(position, log.end(), line);
        ASSERT_NE(position, log.end()) << "missing or out of order: " << line;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder());
    return RUN_ALL_TESTS();
}
