// Every readable corpus document: what the library reports agrees with what the reader
// library's own dump tool shows of the same file.
#include "CorpusTest.h"
#include "ExtractionHelpers.h"
#include "RawDump.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>

namespace qxptest {
namespace {

namespace fs = std::filesystem;

std::string TestName(const testing::TestParamInfo<std::string>& info) {
    std::string name = fs::path(info.param).parent_path().filename().string() + "_" + fs::path(info.param).stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class CorpusDocument : public testing::TestWithParam<std::string> {};
// Without the sample folder there is no document to run it on.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusDocument);

using CorpusText = CorpusTest;
using CorpusPicture = CorpusTest;
using CorpusModes = CorpusTest;

TEST_P(CorpusDocument, AgreesWithTheReaderLibrarysDump) {
    const std::string& path = GetParam();
    const RawDump dump = RunQxp2Raw(QXP2RAW, path);
    ASSERT_EQ(dump.exitStatus, 0);
    ASSERT_FALSE(dump.pageSizes.empty());
    const size_t pages = dump.pageSizes.size();

    Extraction extraction = Extract(path, kAllEntries);
    ASSERT_EQ(extraction.status, 0);

    // Page count, both in the summary line and as one size per page.
    const bool mac = path.find("3.3_mac") != std::string::npos;
    const std::string format = mac ? "QuarkXPress 3.3" : "QuarkXPress 4.0";
    const std::string count = std::to_string(pages) + (pages == 1 ? " page" : " pages");
    EXPECT_EQ(extraction.String(kQXPEntrySummary), format + " document, " + count);
    EXPECT_EQ(extraction.String(kQXPEntryFormat), format);
    const auto sizes = extraction.StringList(kQXPEntryPageSizes);
    ASSERT_TRUE(sizes.has_value());
    ASSERT_EQ(sizes->size(), pages);

    // First page size.
    const auto [width, height] = dump.pageSizes.front();
    ASSERT_TRUE(extraction.Float(kQXPEntryPageWidth).has_value());
    EXPECT_NEAR(*extraction.Float(kQXPEntryPageWidth), width, 0.01);
    EXPECT_NEAR(extraction.Float(kQXPEntryPageHeight).value_or(-1), height, 0.01);
    for (size_t i = 0; i < pages; ++i) {
        const std::string& text = (*sizes)[i];
        double w = 0, h = 0;
        ASSERT_EQ(std::sscanf(text.c_str(), "%lf x %lf pt", &w, &h), 2) << text;
        EXPECT_NEAR(w, dump.pageSizes[i].first, 0.0001) << text;
        EXPECT_NEAR(h, dump.pageSizes[i].second, 0.0001) << text;
        EXPECT_EQ(text.find(".0 "), std::string::npos) << "not in shortest form: " << text;
    }

    EXPECT_EQ(extraction.StringList(kQXPEntryFonts), dump.fonts);
    EXPECT_EQ(extraction.StringList(kQXPEntryColors), dump.colors);

    // The text: non-empty paragraphs, and the same joined by line feeds.
    const auto paragraphs = extraction.StringList(kQXPEntryParagraphs);
    ASSERT_TRUE(paragraphs.has_value());
    std::string joined;
    for (const std::string& paragraph : *paragraphs) {
        EXPECT_NE(paragraph.find_first_not_of(" \t\n"), std::string::npos);
        EXPECT_TRUE(paragraph.front() != ' ' && paragraph.back() != ' ' && paragraph.back() != '\t') << paragraph;
        joined += (joined.empty() ? "" : "\n") + paragraph;
    }
    EXPECT_EQ(extraction.String(kQXPEntryText), joined);
    EXPECT_EQ(paragraphs->empty(), dump.fonts.empty());

    // The picture keeps the page's proportions with 512 pixels on the longer side.
    const auto picture = extraction.ImageSize(kQXPEntryThumbnail);
    ASSERT_TRUE(picture.has_value());
    const auto [pixelsWide, pixelsHigh] = *picture;
    EXPECT_EQ(std::max(pixelsWide, pixelsHigh), 512u);
    EXPECT_NEAR(static_cast<double>(pixelsWide) / pixelsHigh, width / height, 2.0 / 512 * std::max(width / height, 1.0));
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusDocument, testing::ValuesIn(SupportedCorpusFiles()), TestName);

// Known words in order; a story continued in a linked box comes after the box it started in.
TEST_F(CorpusText, ParagraphsComeInTheirOrder) {
    const struct {
        const char* document;
        std::vector<std::string> firstParagraphs;
    } documents[] = {{"/4.0_win/formatting.qxd", {"qwerty123", "Courier", "Times"}},
                     {"/3.3_mac/linked_texts", {"qqqqqqqqqqwwwwwwwwwwwwwwwwweeeeeeeeeeeeerrrrrrrttttt", "ty123"}}};
    for (const auto& document : documents) {
        Extraction extraction = Extract(QXP_CORPUS + std::string(document.document), kQXPEntryParagraphs);
        ASSERT_EQ(extraction.status, 0) << document.document;
        auto paragraphs = extraction.StringList(kQXPEntryParagraphs).value_or(std::vector<std::string>{});
        paragraphs.resize(std::min(paragraphs.size(), document.firstParagraphs.size()));
        EXPECT_EQ(paragraphs, document.firstParagraphs) << document.document;
    }
}

TEST_F(CorpusPicture, ShowsTheColoursOfThePage) {
    // The page of colors.qxd is mostly white with coloured squares: the picture must hold both
    // paper and at least the yellow square near its top right.
    Extraction extraction = Extract(std::string(QXP_CORPUS) + "/4.0_win/colors.qxd", kQXPEntryThumbnail);
    ASSERT_EQ(extraction.status, 0);
    CGImageRef image = extraction.Image(kQXPEntryThumbnail);
    ASSERT_NE(image, nullptr);
    const std::vector<UInt8> rgba = PageRGBA(image);
    const size_t width = CGImageGetWidth(image);
    auto pixel = [&](double xPoints, double yPoints) {
        const double scale = 512.0 / 792;
        const size_t offset = (static_cast<size_t>(yPoints * scale) * width + static_cast<size_t>(xPoints * scale)) * 4;
        return std::array<int, 3>{rgba[offset], rgba[offset + 1], rgba[offset + 2]};
    };
    EXPECT_EQ(pixel(10, 10), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(pixel(540, 110), (std::array<int, 3>{255, 255, 0}));   // yellow square
    EXPECT_EQ(pixel(480, 115), (std::array<int, 3>{0, 0, 0}));       // black square
}

TEST_F(CorpusPicture, IsDrawnAtTheAskedSize) {
    // colors.qxd is a portrait letter page: 612 x 792 pt.
    const struct {
        uint32_t asked;
        size_t longerSide;
    } sizes[] = {{0, 512}, {128, 128}, {1024, 1024}, {100000, 4096}};
    for (const auto& size : sizes) {
        Extraction extraction = Extract(std::string(QXP_CORPUS) + "/4.0_win/colors.qxd", kQXPEntryThumbnail, size.asked);
        ASSERT_EQ(extraction.status, 0);
        const auto pixels = extraction.ImageSize(kQXPEntryThumbnail);
        ASSERT_TRUE(pixels) << size.asked;
        EXPECT_EQ(pixels->second, size.longerSide) << size.asked;
        EXPECT_EQ(pixels->first, static_cast<size_t>(std::lround(size.longerSide * 612.0 / 792))) << size.asked;
    }
}

TEST_F(CorpusModes, OnlyTheAskedEntriesAreThere) {
    Extraction extraction = Extract(std::string(QXP_CORPUS) + "/3.3_mac/facing_pages", 992);
    ASSERT_EQ(extraction.status, 0);
    ASSERT_FALSE(extraction.dictionary.IsEmpty());
    EXPECT_EQ(extraction.dictionary->GetCount(), 5u);
    for (uint32_t entry = 1; entry <= 512; entry <<= 1) {
        const bool asked = (992 & entry) != 0;
        EXPECT_EQ(!extraction.Value(entry).IsEmpty(), asked) << entry;
    }
}

}  // namespace
}  // namespace qxptest
