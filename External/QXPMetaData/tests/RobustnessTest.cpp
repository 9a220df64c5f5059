// Files the library cannot read, or that are damaged, give a failure status or sane values,
// never a crash; and paths are taken as the file system's own names.
#include "CorpusTest.h"
#include "ExtractionHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace qxptest {
namespace {

namespace fs = std::filesystem;

const std::string kSample = std::string(QXP_CORPUS) + "/4.0_win/textboxes.qxd";

class ScratchFolder : public testing::Test {
protected:
    void SetUp() override {
        if (!CorpusPresent()) GTEST_SKIP() << kNoCorpus;
        folder = fs::temp_directory_path() / ("qxpmetadata-" + std::to_string(getpid()) + "-" +
                                              testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override {
        if (!folder.empty()) fs::remove_all(folder);
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path folder;
};

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Whatever a damaged file gives must be usable: either a failure, or values of the right kinds.
void ExpectFailureOrSaneValues(const std::string& path) {
    Extraction extraction = Extract(path, kAllEntries);
    if (extraction.status != 0) return;
    ASSERT_FALSE(extraction.dictionary.IsEmpty());
    const auto summary = extraction.String(kQXPEntrySummary);
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->rfind("QuarkXPress", 0), 0u) << *summary;
    const auto sizes = extraction.StringList(kQXPEntryPageSizes);
    ASSERT_TRUE(sizes.has_value());
    EXPECT_FALSE(sizes->empty());
    if (const auto picture = extraction.ImageSize(kQXPEntryThumbnail)) {
        EXPECT_EQ(std::max(picture->first, picture->second), 512u);
    }
}

TEST(UnreadableDocuments, OlderFormatsFail) {
    if (!CorpusPresent()) GTEST_SKIP() << kNoCorpus;
    for (const char* name : {"qxp1_mac", "qxp2_mac"}) {
        Extraction extraction = Extract(std::string(QXP_CORPUS) + "/unsupported/" + name, kAllEntries);
        EXPECT_NE(extraction.status, 0) << name;
        EXPECT_TRUE(extraction.dictionary.IsEmpty()) << name;
    }
}

TEST(UnreadableDocuments, MissingPathAndFolderFail) {
    EXPECT_NE(Extract("/nonexistent/folder/file.qxd", kAllEntries).status, 0);
    EXPECT_NE(Extract(QXP_CORPUS, kAllEntries).status, 0);
    EXPECT_NE(Extract("", kAllEntries).status, 0);
}

TEST(UnreadableDocuments, UnrepresentablePathGivesAReaderThatFails) {
    const UniChar loneSurrogate[] = {'/', 't', 'm', 'p', '/', 0xD800, 0};
    TInterfacePtr<IQXPMetaDataReader> reader;
    EXPECT_NE(CreateQXPMetaDataReader(loneSurrogate, reader), 0);
    ASSERT_FALSE(reader.IsEmpty());
    EXPECT_FALSE(reader->IsOpen());
    TInterfacePtr<IQXPExtractInfo> request;
    CreateIQXPExtractInfo(request, kAllEntries, 0, 0, 0);
    TInterfacePtr<IQXPDictionary> dictionary;
    EXPECT_NE(reader->ExtractMetaData(request.Get(), dictionary), 0);
    EXPECT_TRUE(dictionary.IsEmpty());
}

TEST(UnreadableDocuments, NullRequestFails) {
    if (!CorpusPresent()) GTEST_SKIP() << kNoCorpus;
    TInterfacePtr<IQXPMetaDataReader> reader;
    EXPECT_EQ(CreateQXPMetaDataReader(UTF16Path(kSample).data(), reader), 0);
    ASSERT_FALSE(reader.IsEmpty());
    TInterfacePtr<IQXPDictionary> dictionary;
    EXPECT_NE(reader->ExtractMetaData(nullptr, dictionary), 0);
    EXPECT_TRUE(dictionary.IsEmpty());
}

TEST_F(ScratchFolder, EmptyAndForeignFilesFail) {
    EXPECT_NE(Extract(Write("empty.qxd", ""), kAllEntries).status, 0);
    EXPECT_NE(Extract(Write("text.qxd", "just some words\n"), kAllEntries).status, 0);
    EXPECT_NE(Extract(Write("header-only.qxd", Contents(kSample).substr(0, 64)), kAllEntries).status, 0);
}

TEST_F(ScratchFolder, TruncatedCopiesFailOrStaySane) {
    const std::string original = Contents(kSample);
    ASSERT_FALSE(original.empty());
    for (size_t length : {size_t{1}, size_t{10}, size_t{512}, size_t{2048}, original.size() / 2, original.size() - 1}) {
        SCOPED_TRACE(length);
        ExpectFailureOrSaneValues(Write("cut.qxd", original.substr(0, length)));
    }
}

TEST_F(ScratchFolder, CorruptedCopiesFailOrStaySane) {
    std::mt19937 random(20261207);
    for (const char* name : {"/4.0_win/textboxes.qxd", "/3.3_mac/linked_texts", "/4.0_win/bezier_boxes.qxd"}) {
        const std::string original = Contents(std::string(QXP_CORPUS) + name);
        ASSERT_FALSE(original.empty());
        for (int round = 0; round < 25; ++round) {
            SCOPED_TRACE(std::string(name) + " round " + std::to_string(round));
            std::string damaged = original;
            const int changes = 1 + static_cast<int>(random() % 40);
            for (int i = 0; i < changes; ++i) damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
            if (round % 5 == 0) {  // a whole run of bytes overwritten
                const size_t at = 256 + random() % (damaged.size() - 512);
                std::fill_n(damaged.begin() + static_cast<long>(at), 256, '\xFF');
            }
            ExpectFailureOrSaneValues(Write("damaged.qxd", damaged));
        }
    }
}

TEST_F(ScratchFolder, PathWithBlanksAndAccentsOpens) {
    const fs::path inner = folder / "Dossier d’été" / "Übersicht Ä ø 文書";
    fs::create_directories(inner);
    const fs::path copy = inner / "Prospekt Grüße.qxd";
    fs::copy_file(kSample, copy);
    Extraction extraction = Extract(copy.string(), kQXPEntrySummary | kQXPEntryFormat);
    ASSERT_EQ(extraction.status, 0);
    EXPECT_EQ(extraction.String(kQXPEntryFormat), "QuarkXPress 4.0");
    ASSERT_FALSE(extraction.reader.IsEmpty());
    EXPECT_EQ(TextOf(extraction.reader->GetPath()), copy.string());
}

TEST_F(ScratchFolder, RelabelledVersionIsNeverMisnamed) {
    // The version is the 16-bit number at offset 8, in the file's byte order; the same number
    // stands again at offset 10, which the reader library does not look at. A copy whose second
    // number claims another release is still read, and keeps the name of the first; a copy whose
    // first number changes is refused by the reader library, or named by its new label.
    struct Relabel {
        const char* sample;
        size_t offset;
        char code;
        const char* name;
        bool mustRead;
    };
    const Relabel relabels[] = {
        {"/4.0_win/textboxes.qxd", 10, 0x3F, "QuarkXPress 4.0", true},
        {"/3.3_mac/textboxes", 11, 0x41, "QuarkXPress 3.3", true},
        {"/4.0_win/textboxes.qxd", 8, 0x3E, "QuarkXPress 3.1", false},
        {"/4.0_win/textboxes.qxd", 8, 0x3F, "QuarkXPress 3.3", false},
        {"/4.0_win/textboxes.qxd", 8, 0x40, "QuarkXPress", false},
        {"/3.3_mac/textboxes", 9, 0x39, "QuarkXPress 3.1", false},
    };
    for (const Relabel& relabel : relabels) {
        SCOPED_TRACE(std::string(relabel.sample) + " at " + std::to_string(relabel.offset));
        std::string bytes = Contents(std::string(QXP_CORPUS) + relabel.sample);
        ASSERT_GT(bytes.size(), 12u);
        bytes[relabel.offset] = relabel.code;
        Extraction relabelled = Extract(Write("relabelled.qxd", bytes), kQXPEntryFormat);
        if (relabel.mustRead) {
            ASSERT_EQ(relabelled.status, 0);
        }
        if (relabelled.status == 0) {
            EXPECT_EQ(relabelled.String(kQXPEntryFormat), relabel.name);
        }
    }
}

}  // namespace
}  // namespace qxptest
