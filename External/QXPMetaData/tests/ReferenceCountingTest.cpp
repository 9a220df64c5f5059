// Every object the library hands out is released exactly once, by whichever holder owns it.
#include "CorpusTest.h"
#include "ExtractionHelpers.h"
#include "LiveHeapBlocks.h"

#include <gtest/gtest.h>

namespace qxptest {
namespace {

const std::string kSample = std::string(QXP_CORPUS) + "/3.3_mac/pages";

using ReferenceCounting = CorpusTest;

// What the library and the drawing keep for the whole process (loaded modules, font lists) is made
// by a first extraction; after that, an extraction's blocks all go with its holders.
TEST_F(ReferenceCounting, EverythingGoesWithItsHolders) {
    Extract(kSample, kAllEntries).ImageSize(kQXPEntryThumbnail);
    const int64_t before = LiveHeapBlocks();
    {
        Extraction extraction = Extract(kSample, kAllEntries);
        ASSERT_EQ(extraction.status, 0);
        const auto sizes = extraction.StringList(kQXPEntryPageSizes);
        ASSERT_TRUE(sizes.has_value());
        EXPECT_EQ(sizes->size(), 3u);
        extraction.ImageSize(kQXPEntryThumbnail);
    }
    EXPECT_EQ(LiveHeapBlocks(), before);
}

TEST_F(ReferenceCounting, ValuesLiveOnAfterTheDictionaryGoes) {
    Extract(kSample, kQXPEntryFonts | kQXPEntryFormat);
    const int64_t before = LiveHeapBlocks();
    TInterfacePtr<IQXPDataBase> value;
    {
        Extraction extraction = Extract(kSample, kQXPEntryFonts | kQXPEntryFormat);
        ASSERT_EQ(extraction.status, 0);
        extraction.dictionary->GetValue(kQXPEntryFormat, value);
        ASSERT_FALSE(value.IsEmpty());
    }
    EXPECT_GT(LiveHeapBlocks(), before);
    EXPECT_EQ(TextOf(static_cast<IQXPDataString*>(value.Get())->GetCFString()), "QuarkXPress 3.3");
    EXPECT_EQ(value->AddRef(), 2u);
    EXPECT_EQ(value->Release(), 1u);
    value.Clear();
    EXPECT_EQ(LiveHeapBlocks(), before);
}

TEST_F(ReferenceCounting, ListElementsAreNewValuesOwnedByTheCallerAndAMissingEntryEmptiesTheHolder) {
    Extraction extraction = Extract(kSample, kQXPEntryPageSizes);
    ASSERT_EQ(extraction.status, 0);
    TInterfacePtr<IQXPDataBase> value = extraction.Value(kQXPEntryPageSizes);
    auto* list = static_cast<IQXPDataStringArray*>(value.Get());
    const int64_t before = LiveHeapBlocks();
    {
        TInterfacePtr<IQXPDataString> first = list->GetStringAt(0);
        ASSERT_FALSE(first.IsEmpty());
        EXPECT_GT(LiveHeapBlocks(), before);
        EXPECT_EQ(first->GetEntryID(), kQXPEntryPageSizes);
        EXPECT_EQ(first->GetUTF8Length(), TextOf(first->GetCFString()).size());
        EXPECT_EQ(first->AddRef(), 2u);  // the holder's reference and this one
        first->Release();
    }
    EXPECT_EQ(LiveHeapBlocks(), before);
    EXPECT_TRUE(list->GetStringAt(list->GetCount()).IsEmpty());
    EXPECT_TRUE(list->GetStringAt(0xFFFFFFFFu).IsEmpty());
    EXPECT_EQ(LiveHeapBlocks(), before);

    // An entry that is not there empties the holder, and the dictionary still holds the list.
    extraction.dictionary->GetValue(kQXPEntryColors, value);
    EXPECT_TRUE(value.IsEmpty());
    EXPECT_EQ(LiveHeapBlocks(), before);
}

TEST_F(ReferenceCounting, ValuesAnswerForTheirKindAndTheRoot) {
    Extraction extraction = Extract(kSample, kQXPEntryPageWidth);
    ASSERT_EQ(extraction.status, 0);
    TInterfacePtr<IQXPDataBase> value = extraction.Value(kQXPEntryPageWidth);
    ASSERT_FALSE(value.IsEmpty());
    EXPECT_EQ(value->GetEntryID(), kQXPEntryPageWidth);
    void* same = nullptr;
    ASSERT_EQ(value->QueryInterface(*value->GetTypeGUID(), &same), 0);
    EXPECT_EQ(same, value.Get());
    value->Release();
    const GUID other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_NE(value->QueryInterface(other, &same), 0);
    EXPECT_EQ(same, nullptr);

    // The reader's root is a virtual base: asking for it gives the root's own address.
    IUnknown* root = nullptr;
    const GUID unknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    ASSERT_EQ(extraction.reader->QueryInterface(unknown, reinterpret_cast<void**>(&root)), 0);
    EXPECT_EQ(root, static_cast<IUnknown*>(extraction.reader.Get()));
    root->Release();
}

}  // namespace
}  // namespace qxptest
