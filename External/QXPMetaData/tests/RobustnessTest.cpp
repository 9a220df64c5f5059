// Files the library cannot read, or that are damaged, give a failure status or sane values,
// never a crash; and paths are taken as the file system's own names.
#include "CorpusTest.h"
#include "ExtractionHelpers.h"

#include <TemporaryFolder.h>

#include <gtest/gtest.h>

#include <random>

namespace qxptest {
namespace {

const std::string kSample = std::string(QXP_CORPUS) + "/4.0_win/textboxes.qxd";

// A folder of its own for the damaged copies each case writes.
class ScratchFolder : public CorpusTest {
protected:
    std::string Write(const std::string& name, const std::string& bytes) { return folder.WriteFile(name, bytes); }
    TemporaryFolder folder{"qxpmetadata"};
};

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

// Older formats, no file, a folder, an empty file, text, a header alone.
TEST(UnreadableDocuments, Fail) {
    const TemporaryFolder folder("qxpmetadata");
    const std::string unreadable[] = {
        QXP_CORPUS "/unsupported/qxp1_mac", QXP_CORPUS "/unsupported/qxp2_mac", "/nonexistent/folder/file.qxd",
        QXP_CORPUS, "", folder.WriteFile("empty.qxd", ""), folder.WriteFile("text.qxd", "just some words\n"),
        folder.WriteFile("header-only.qxd", ReadWholeFile(SAMPLES "/colors.qxd").substr(0, 64))};
    for (const std::string& path : unreadable) {
        Extraction extraction = Extract(path, kAllEntries);
        EXPECT_NE(extraction.status, 0) << path;
        EXPECT_TRUE(extraction.dictionary.IsEmpty()) << path;
    }
}

// Copies cut short at several lengths, and copies with bytes changed at random (now and then a
// whole run of them).
TEST_F(ScratchFolder, DamagedCopiesFailOrStaySane) {
    std::mt19937 random(20261207);
    for (const char* name : {"/4.0_win/textboxes.qxd", "/3.3_mac/linked_texts", "/4.0_win/bezier_boxes.qxd"}) {
        const std::string original = ReadWholeFile(std::string(QXP_CORPUS) + name);
        ASSERT_FALSE(original.empty());
        std::vector<std::string> copies;
        for (size_t length : {size_t{1}, size_t{10}, size_t{512}, size_t{2048}, original.size() / 2, original.size() - 1})
            copies.push_back(original.substr(0, length));
        for (int round = 0; round < 25; ++round) {
            std::string& damaged = copies.emplace_back(original);
            const int changes = 1 + static_cast<int>(random() % 40);
            for (int i = 0; i < changes; ++i) damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
            if (round % 5 == 0) std::fill_n(damaged.begin() + static_cast<long>(256 + random() % (damaged.size() - 512)), 256, '\xFF');
        }
        for (size_t copy = 0; copy < copies.size(); ++copy) {
            SCOPED_TRACE(std::string(name) + " copy " + std::to_string(copy));
            ExpectFailureOrSaneValues(Write("damaged.qxd", copies[copy]));
        }
    }
}

TEST_F(ScratchFolder, PathWithBlanksAndAccentsOpens) {
    const std::string copy = Write("Dossier d’été/Übersicht Ä ø 文書/Prospekt Grüße.qxd", ReadWholeFile(kSample));
    Extraction extraction = Extract(copy, kQXPEntrySummary | kQXPEntryFormat);
    ASSERT_EQ(extraction.status, 0);
    EXPECT_EQ(extraction.String(kQXPEntryFormat), "QuarkXPress 4.0");
    ASSERT_FALSE(extraction.reader.IsEmpty());
    EXPECT_EQ(TextOf(extraction.reader->GetPath()), copy);
}

TEST_F(ScratchFolder, RelabelledVersionIsNeverMisnamed) {
    // The version is the 16-bit number at offset 8, in the file's byte order; the same number
    // stands again at offset 10, which the reader library does not look at. A copy whose second
    // number claims another release is still read, and keeps the name of the first; a copy whose
    // first number changes is refused by the reader library, or named by its new label.
    const struct {
        const char* sample;
        size_t offset;
        char code;
        const char* name;
        bool mustRead;
    } relabels[] = {
        {"/4.0_win/textboxes.qxd", 10, 0x3F, "QuarkXPress 4.0", true},
        {"/3.3_mac/textboxes", 11, 0x41, "QuarkXPress 3.3", true},
        {"/4.0_win/textboxes.qxd", 8, 0x3E, "QuarkXPress 3.1", false},
        {"/4.0_win/textboxes.qxd", 8, 0x3F, "QuarkXPress 3.3", false},
        {"/4.0_win/textboxes.qxd", 8, 0x40, "QuarkXPress", false},
        {"/3.3_mac/textboxes", 9, 0x39, "QuarkXPress 3.1", false},
    };
    for (const auto& relabel : relabels) {
        SCOPED_TRACE(std::string(relabel.sample) + " at " + std::to_string(relabel.offset));
        std::string bytes = ReadWholeFile(std::string(QXP_CORPUS) + relabel.sample);
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
