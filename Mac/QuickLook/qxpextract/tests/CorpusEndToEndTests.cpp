// qxpextract with the real library on real QuarkXPress documents, checked against what libqxp's
// own dump tool, qxp2raw, says of the same file.
#include "PrivateRuntimeFolder.h"

#include <ChildProcess.h>
#include <PasteboardContents.h>
#include <TemporaryFolder.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

namespace {

struct RawDocument {
    int pages = 0;
    double firstWidth = 0, firstHeight = 0;
    std::set<std::string> fonts;  // of spans that hold text: an empty span shows no font
};

RawDocument DumpWithQxp2raw(const std::string& path) {
    RawDocument document;
    std::stringstream dump(RunChild({"qxp2raw", path}).standardOutput);
    const std::regex page(R"(startPage\(svg:height: ([0-9.]+)pt, svg:width: ([0-9.]+)pt)");
    const std::regex font(R"(style:font-name: ([^,)]+))");
    std::string spanFont;
    for (std::string line; std::getline(dump, line);) {
        std::smatch match;
        if (std::regex_search(line, match, page) && ++document.pages == 1) {
            document.firstHeight = std::stod(match[1]);
            document.firstWidth = std::stod(match[2]);
        }
        if (line.find("openSpan") != std::string::npos)
            spanFont = std::regex_search(line, match, font) ? std::string(match[1]) : std::string();
        if (line.find("insertText") != std::string::npos && !spanFont.empty()) document.fonts.insert(spanFont);
    }
    return document;
}

std::vector<std::string> CorpusDocuments() {
    std::vector<std::string> documents;
    for (const char* folder : {"4.0_win", "3.3_mac"}) {
        std::filesystem::path path = std::filesystem::path(QXP_CORPUS) / folder;
        if (!std::filesystem::is_directory(path)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(path)) documents.push_back(entry.path().string());
    }
    std::sort(documents.begin(), documents.end());
    return documents;
}

std::string Extract(const std::string& mode, const std::string& document) {
    const std::string pasteboard = "corpus-" + std::to_string(getpid());
    RunChild({EXTRACTOR, mode, document, pasteboard});
    return pasteboard;
}

uint32_t BigEndian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

TEST(CorpusEndToEnd, PreviewAgreesWithQxp2raw) {
    auto documents = CorpusDocuments();
    if (documents.empty()) GTEST_SKIP() << "no sample documents at " << QXP_CORPUS;
    for (const std::string& path : documents) {
        SCOPED_TRACE(path);
        RawDocument raw = DumpWithQxp2raw(path);
        ASSERT_GT(raw.pages, 0);
        auto items = ByItem(PasteboardContents(Extract("-p", path)));

        std::string pages = std::to_string(raw.pages) + (raw.pages == 1 ? " page" : " pages");
        EXPECT_NE(items[3].find(pages), std::string::npos) << items[3];
        EXPECT_NEAR(std::stod(items[4]), raw.firstWidth, 0.001);
        EXPECT_NEAR(std::stod(items[5]), raw.firstHeight, 0.001);
        int pageSizes = 0;
        while (items.count(10001 + pageSizes)) ++pageSizes;
        EXPECT_EQ(pageSizes, raw.pages);

        std::set<std::string> fonts;
        for (intptr_t id = 100001; items.count(id); ++id) EXPECT_TRUE(fonts.insert(items[id]).second) << "twice: " << items[id];
        EXPECT_EQ(fonts, raw.fonts);

        // The picture: a PNG whose longer side is 512 and whose shape is the page's.
        const std::string& png = items[2];
        ASSERT_GT(png.size(), 24u);
        ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
        double width = BigEndian(png, 16), height = BigEndian(png, 20);
        EXPECT_EQ(std::max(width, height), 512);
        EXPECT_NEAR(width / height, raw.firstWidth / raw.firstHeight, 0.01);
    }
}

TEST(CorpusEndToEnd, SearchAndThumbnailPublishTheirItemsOnly) {
    auto documents = CorpusDocuments();
    if (documents.empty()) GTEST_SKIP();
    for (const std::string& path : {documents.front(), documents.back()}) {
        SCOPED_TRACE(path);
        auto search = PasteboardContents(Extract("-s", path));
        ASSERT_GE(search.size(), 2u);
        EXPECT_EQ(search[search.size() - 2].item, 1);
        EXPECT_EQ(search.back().item, 0);
        EXPECT_EQ(search[search.size() - 2].data.rfind("QuarkXPress", 0), 0u);
        auto thumbnail = PasteboardContents(Extract("-t", path));
        ASSERT_EQ(thumbnail.size(), 1u);
        EXPECT_EQ(thumbnail[0].flavor, "public.png");
    }
}

TEST(CorpusEndToEnd, NamesThatAreNotUTF8OpenTheFileTheyName) {
    // Such a name is read as Mac OS Roman ("\xE9" as "È"), yet it is that very file that is read.
    TemporaryFolder folder("qxpextract-names");
    const std::string sample = ReadWholeFile(std::string(SAMPLES) + "/colors.qxd");
    const auto expected = PasteboardContents(Extract("-s", std::string(SAMPLES) + "/colors.qxd"));
    ASSERT_GE(expected.size(), 2u);
    for (const std::string name : {"caf\xE9.qxd", "caf\xC3\xA9.qxd", "Report \xA5 2", "\x8E\xFF"}) {
        const std::string path = folder.WriteFile(name, sample);
        EXPECT_EQ(PasteboardContents(Extract("-s", path)).size(), expected.size()) << path;
        std::filesystem::remove(path);
    }
}

// The project's own samples, so that this runs without the sample folder: a portrait and two
// landscape pages, of both versions.
TEST(CorpusEndToEnd, SummaryAndFirstPageSizeOfTheProjectsSamples) {
    const struct {
        const char* document;
        const char* summary;
        const char* width;
        const char* height;
    } samples[] = {{"colors.qxd", "QuarkXPress 4.0 document, 1 page", "612", "792"},
                   {"formatting.qxd", "QuarkXPress 4.0 document, 1 page", "651.9685", "566.92914"},
                   {"textboxes-3.3", "QuarkXPress 3.3 document, 1 page", "651.9685", "566.92914"}};
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.document);
        auto items = ByItem(PasteboardContents(Extract("-p", std::string(SAMPLES) + "/" + sample.document)));
        EXPECT_EQ(items[3], sample.summary);
        EXPECT_EQ(items[4], sample.width);
        EXPECT_EQ(items[5], sample.height);
    }
}

TEST(CorpusEndToEnd, DocumentsTheReaderCannotReadPublishNothing) {
    std::vector<std::string> unreadable = {std::string(SAMPLES) + "/qxp2-unsupported", std::string(SAMPLES) + "/ATTRIBUTION.md",
                                           "/dev/null", "/", "/no/such/document.qxd"};
    for (const char* old : {"qxp1_mac", "qxp2_mac"}) {
        std::string path = std::string(QXP_CORPUS) + "/unsupported/" + old;
        if (std::filesystem::exists(path)) unreadable.push_back(path);
    }
    for (const std::string& path : unreadable) {
        for (const char* mode : {"-t", "-p", "-s"}) {
            const std::string pasteboard = "corpus-unreadable-" + std::to_string(getpid());
            ChildResult result = RunChild({EXTRACTOR, mode, path, pasteboard});
            EXPECT_EQ(result.exitStatus, 0) << path << " " << mode;
            EXPECT_TRUE(PasteboardContents(pasteboard).empty()) << path << " " << mode;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder());
    return RUN_ALL_TESTS();
}
