// Holders and conversions against values whose reference counts the test can see.
#include <ConvertInterfacePtr.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace QUARK::COM;
using namespace QUARK::QXPMETADATA;

namespace {

std::vector<std::string> gReleases;

template <class Interface>
class Observed : public Interface {
public:
    Observed(std::string name, const GUID& kind) : name_(std::move(name)), kind_(kind) {}
    virtual ~Observed() = default;
    int32_t QueryInterface(const GUID&, void**) override { return -1; }
    uint32_t AddRef() override { return ++references; }
    uint32_t Release() override {
        gReleases.push_back(name_);
        return --references;  // the test owns the objects; nothing is deleted here
    }
    uint32_t GetEntryID() override { return 0; }
    uint32_t GetFlags() override { return 0; }
    const GUID* GetTypeGUID() override { return &kind_; }
    uint32_t references = 1;

private:
    std::string name_;
    GUID kind_;
};

class TextValue final : public Observed<IQXPDataString> {
public:
    explicit TextValue(std::string name = "text") : Observed(std::move(name), kGUIDIQXPDataString) {}
    uint32_t GetLength() override { return 0; }
    uint32_t GetUTF8Length() override { return 0; }
    CFStringRef GetCFString() override { return nullptr; }
};

class NumberValue final : public Observed<IQXPDataFloat> {
public:
    NumberValue() : Observed("number", kGUIDIQXPDataFloat) {}
    float GetFloat() override { return 1.5f; }
};

// A reader reaches the root through a virtual base, so its root part sits elsewhere in the object.
class PaddedReader final : public IQXPMetaDataReader {
public:
    int32_t QueryInterface(const GUID&, void**) override { return -1; }
    uint32_t AddRef() override { return ++references; }
    uint32_t Release() override {
        gReleases.push_back("reader");
        return --references;
    }
    uint32_t GetPageCount() override { return 0; }
    uint32_t GetFormatVersion() override { return 0; }
    bool IsOpen() override { return true; }
    CFStringRef GetPath() override { return nullptr; }
    void Close() override {}
    int32_t ExtractMetaData(IQXPExtractInfo*, TInterfacePtr<IQXPDictionary>&) override { return 0; }
    uint32_t references = 1;
};

template <class Interface>
TInterfacePtr<Interface> Holding(Interface* value) {
    TInterfacePtr<Interface> holder;
    holder.Attach(value);
    return holder;
}

class InterfaceHolders : public ::testing::Test {
protected:
    void SetUp() override { gReleases.clear(); }
};

TEST_F(InterfaceHolders, AssignmentSharesTheValueAndGivesUpTheOldOne) {
    TextValue first("first"), second("second");
    {
        TInterfacePtr<IQXPDataString> a = Holding<IQXPDataString>(&first);
        TInterfacePtr<IQXPDataString> b = Holding<IQXPDataString>(&second);
        a = b;
        EXPECT_EQ(first.references, 0u);
        EXPECT_EQ(second.references, 2u);
        a = a;  // self-assignment keeps value and count
        EXPECT_EQ(a.Get(), &second);
        EXPECT_EQ(second.references, 2u);
        TInterfacePtr<IQXPDataString> empty;
        b = empty;
        EXPECT_TRUE(b.IsEmpty());
        EXPECT_EQ(second.references, 1u);
    }
    EXPECT_EQ(second.references, 0u);
}

TEST_F(InterfaceHolders, VirtualBaseIsReachedForRelease) {
    PaddedReader reader;
    { TInterfacePtr<IQXPMetaDataReader> holder = Holding<IQXPMetaDataReader>(&reader); }
    EXPECT_EQ(reader.references, 0u);
    EXPECT_EQ(gReleases, (std::vector<std::string>{"reader"}));
}

TEST_F(InterfaceHolders, ConversionOfAMatchingKindTakesAReference) {
    TextValue text, earlier("earlier");
    TInterfacePtr<IQXPDataBase> value = Holding<IQXPDataBase>(&text);
    TInterfacePtr<IQXPDataString> target = Holding<IQXPDataString>(&earlier);
    EXPECT_TRUE(ConvertInterfacePtr(value, target));
    EXPECT_EQ(target.Get(), &text);
    EXPECT_EQ(text.references, 2u);
    EXPECT_EQ(earlier.references, 0u);
}

TEST_F(InterfaceHolders, ConversionOfAnotherKindLeavesTheTargetAlone) {
    TextValue text;
    NumberValue number;
    TInterfacePtr<IQXPDataBase> value = Holding<IQXPDataBase>(&text);
    TInterfacePtr<IQXPDataFloat> target = Holding<IQXPDataFloat>(&number);
    EXPECT_FALSE(ConvertInterfacePtr(value, target));
    EXPECT_EQ(target.Get(), &number);
    EXPECT_EQ(number.references, 1u);
    EXPECT_EQ(text.references, 1u);
}

TEST_F(InterfaceHolders, ConversionOfAnEmptyValueEmptiesTheTarget) {
    TextValue text;
    TInterfacePtr<IQXPDataBase> empty;
    TInterfacePtr<IQXPDataString> target = Holding<IQXPDataString>(&text);
    EXPECT_FALSE(ConvertInterfacePtr(empty, target));
    EXPECT_TRUE(target.IsEmpty());
    EXPECT_EQ(text.references, 0u);
}

}  // namespace
