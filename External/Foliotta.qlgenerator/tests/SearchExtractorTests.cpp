// foliotta-search run the way KFileMetaData runs an external extractor: a child process with the
// request as JSON on standard input, its answer read as JSON from standard output.
#include "PrivateRuntimeFolder.h"
#include "Samples.h"

#include <ChildProcess.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <sstream>

namespace {

constexpr size_t kLongestRequest = 64 * 1024;

struct Answer {
    int exitStatus;
    QJsonObject object;
    bool parsed;
};

Answer Ask(const std::string& request) {
    const ChildResult result = RunChild({SEARCH_EXTRACTOR}, {}, request);
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(result.standardOutput), &error);
    return {result.exitStatus, json.object(), json.isObject()};
}

std::string Request(const std::string& path) {
    QJsonObject request;
    request["path"] = QString::fromStdString(path);
    request["mimetype"] = "application/vnd.quark.quarkxpress";
    return QJsonDocument(request).toJson().toStdString();
}

std::string Collapsed(const std::string& text) {
    std::string collapsed;
    std::istringstream words(text);
    for (std::string word; words >> word;) collapsed += (collapsed.empty() ? "" : " ") + word;
    return collapsed;
}

TEST(SearchExtractor, AnswersEverySampleWithItsTextFontsPagesAndFormat) {
    for (const std::string& path : ReadableSamples()) {
        SCOPED_TRACE(path);
        const Answer answer = Ask(Request(path));
        ASSERT_TRUE(answer.parsed);
        EXPECT_EQ(answer.exitStatus, 0);
        EXPECT_EQ(answer.object["status"].toString(), "OK");
        const QJsonObject properties = answer.object["properties"].toObject();
        EXPECT_EQ(properties["typeInfo"].toString(), "Document");
        EXPECT_TRUE(properties["generator"].toString().startsWith("QuarkXPress ")) << properties["generator"].toString().toStdString();
        EXPECT_GE(properties["pageCount"].toInt(), 1);

        // Every line qxp2text finds is in the text, whitespace aside.
        const std::string ours = Collapsed(properties["text"].toString().toStdString());
        std::istringstream theirs(RunChild({"qxp2text", path}).standardOutput);
        for (std::string line; std::getline(theirs, line);)
            EXPECT_NE(ours.find(Collapsed(line)), std::string::npos) << "missing: " << line;
    }
}

// formatting.qxd's fonts are its keywords; colors.qxd has one page and twelve colours, so its page
// count is not some other list's length; a file URL is read like a path.
TEST(SearchExtractor, AnswersWhatASampleHolds) {
    const struct {
        std::string request;
        const char* property;
        QJsonValue value;
    } rows[] = {{Request(SAMPLES "/formatting.qxd"), "keywords", "Helvetica, Cordia New, Times"},
                {Request(SAMPLES "/colors.qxd"), "pageCount", 1},
                {Request("file://" SAMPLES "/colors.qxd"), "generator", "QuarkXPress 4.0"}};
    for (const auto& row : rows) {
        const QJsonObject answer = Ask(row.request).object;
        EXPECT_EQ(answer["status"].toString(), "OK") << row.request;
        EXPECT_EQ(answer["properties"].toObject()[row.property], row.value) << row.request << row.property;
    }
}

TEST(SearchExtractor, AnUnreadableDocumentOrRequestAnswersAValidEmptyResult) {
    std::vector<std::pair<std::string, int>> requests;  // request, exit status
    for (const std::string& path : UnreadableDocuments()) requests.emplace_back(Request(path), 0);
    requests.emplace_back("", 2);
    requests.emplace_back("not json", 2);
    requests.emplace_back("[1, 2]", 2);
    requests.emplace_back(R"({"mimetype": "application/vnd.quark.quarkxpress"})", 2);
    requests.emplace_back(R"({"path": 7})", 2);
    // A path cut at a NUL would name another file.
    requests.emplace_back(Request(std::string(SAMPLES) + std::string("/colors.qxd\0x", 13)), 2);
    requests.emplace_back(Request(std::string(SAMPLES) + "/colors.qxd") + std::string(kLongestRequest, ' '), 2);
    for (const auto& [request, status] : requests) {
        SCOPED_TRACE(request);
        const Answer answer = Ask(request);
        ASSERT_TRUE(answer.parsed);
        EXPECT_EQ(answer.exitStatus, status);
        EXPECT_EQ(answer.object["status"].toString(), "Error");
        EXPECT_FALSE(answer.object["error"].toString().isEmpty());
        EXPECT_TRUE(answer.object["properties"].toObject().isEmpty());
    }
}

TEST(SearchExtractor, AnEndlessRequestIsRefusedNotRead) {
    // Bounded, so that a program reading all of it fails here instead of filling the memory
    // (AddressSanitizer reserves more address space than any such bound allows: time alone there).
#if defined(__SANITIZE_ADDRESS__)
    const std::string bound = "";
#else
    const std::string bound = "ulimit -v 4000000; ";
#endif
    const ChildResult result = RunChild({"sh", "-c", bound + "exec timeout 20 \"$0\" < /dev/zero", SEARCH_EXTRACTOR});
    EXPECT_EQ(result.exitStatus, 2) << result.standardError;
    EXPECT_NE(result.standardOutput.find("\"status\":\"Error\""), std::string::npos) << result.standardOutput;
}

}  // namespace

// Every test and the programs it starts use a pasteboard store of their own.
static ::testing::Environment* const privateRuntime = ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder());
