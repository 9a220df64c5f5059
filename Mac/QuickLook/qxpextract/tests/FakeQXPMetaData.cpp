// A scripted metadata library with the vendor library's file name and interfaces, linked into the
// extractor in its tests. The "document" is a text file of tab-separated lines that says what
// the library returns:
//   reader none                      no reader is made
//   extract STATUS                   ExtractMetaData returns STATUS
//   string ENTRY TEXT                a text value ("\n" in TEXT is a line feed)
//   float ENTRY NUMBER               a float value
//   list ENTRY [TEXT]...             a list of texts
//   numbered ENTRY COUNT PREFIX      a list PREFIX0, PREFIX1, ...
//   hole ENTRY INDEX                 that list element comes back as an empty holder
//   image ENTRY WIDTH HEIGHT|none    a red picture, or a value without a picture
//   binary ENTRY                     a value of a kind the extractor does not read
// Every call and release is appended to the file named by FAKE_QXP_LOG. With FAKE_QXP_NO_REQUEST
// set, no extraction request is made.
#include <QXPMetaData.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace QUARK::COM;
using namespace QUARK::QXPMETADATA;

namespace {

const GUID kFloatKind = {0xB305336D, 0xD0B1, 0x45AB, {0x82, 0xBE, 0xC1, 0x95, 0x38, 0x05, 0xA9, 0xA5}};
const GUID kStringArrayKind = {0x35567578, 0x31B1, 0x4FCF, {0x97, 0xCC, 0x39, 0x3A, 0xE4, 0x3C, 0xD5, 0xDE}};
const GUID kStringKind = {0xEF271CF2, 0x55F7, 0x4AE5, {0x91, 0x39, 0x07, 0x33, 0x58, 0xA4, 0xE4, 0x04}};
const GUID kImageKind = {0x6B4CF444, 0x12C6, 0x4E8A, {0xB7, 0xC1, 0x7D, 0xEA, 0x38, 0x70, 0x9C, 0x85}};
const GUID kBinaryKind = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

void Log(const std::string& line) {
    const char* path = std::getenv("FAKE_QXP_LOG");
    if (path == nullptr) return;
    if (FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fclose(log);
    }
}

struct AliveCounter {
    int alive = 0;
    ~AliveCounter() { Log("alive " + std::to_string(alive)); }
} gObjects;

// Reference counting shared by every fake object; the label names it in the log.
template <class Interface>
class Counted : public Interface {
public:
    explicit Counted(std::string label) : label_(std::move(label)) { ++gObjects.alive; }
    virtual ~Counted() { --gObjects.alive; }
    int32_t QueryInterface(const GUID&, void**) override { return -1; }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override {
        uint32_t left = --references_;
        Log("Release " + label_ + " " + std::to_string(left));
        if (left == 0) delete this;
        return left;
    }

protected:
    std::string label_;

private:
    uint32_t references_ = 1;
};

template <class Interface>
class Value : public Counted<Interface> {
public:
    Value(std::string label, uint32_t entry, const GUID& kind) : Counted<Interface>(std::move(label)), entry_(entry), kind_(kind) {}
    uint32_t GetEntryID() override { return entry_; }
    uint32_t GetFlags() override { return 0; }
    const GUID* GetTypeGUID() override { return &kind_; }

private:
    uint32_t entry_;
    GUID kind_;
};

class StringValue final : public Value<IQXPDataString> {
public:
    StringValue(std::string label, uint32_t entry, const std::string& utf8) : Value(std::move(label), entry, kStringKind) {
        string_ = CFStringCreateWithCString(kCFAllocatorDefault, utf8.c_str(), kCFStringEncodingUTF8);
    }
    ~StringValue() override {
        if (string_ != nullptr) CFRelease(string_);
    }
    uint32_t GetLength() override { return string_ ? static_cast<uint32_t>(CFStringGetLength(string_)) : 0; }
    uint32_t GetUTF8Length() override { return 0; }
    CFStringRef GetCFString() override { return string_; }

private:
    CFStringRef string_ = nullptr;
};

class FloatValue final : public Value<IQXPDataFloat> {
public:
    FloatValue(uint32_t entry, float number) : Value("float:" + std::to_string(entry), entry, kFloatKind), number_(number) {}
    float GetFloat() override { return number_; }

private:
    float number_;
};

class ListValue final : public Value<IQXPDataStringArray> {
public:
    ListValue(uint32_t entry, std::vector<std::string> texts, std::set<uint32_t> holes)
        : Value("list:" + std::to_string(entry), entry, kStringArrayKind), texts_(std::move(texts)), holes_(std::move(holes)) {}
    uint32_t GetCount() override { return static_cast<uint32_t>(texts_.size()); }
    TInterfacePtr<IQXPDataString> GetStringAt(uint32_t index) override {
        TInterfacePtr<IQXPDataString> element;
        if (index < texts_.size() && holes_.count(index) == 0)
            element.Attach(new StringValue("element:" + std::to_string(GetEntryID()) + ":" + std::to_string(index),
                                           GetEntryID(), texts_[index]));
        return element;
    }

private:
    std::vector<std::string> texts_;
    std::set<uint32_t> holes_;
};

class ImageValue final : public Value<IQXPDataImage> {
public:
    ImageValue(uint32_t entry, size_t width, size_t height) : Value("image:" + std::to_string(entry), entry, kImageKind) {
        if (width == 0 || height == 0) return;
        std::vector<UInt8> pixels(width * height * 4);
        for (size_t i = 0; i < pixels.size(); i += 4) pixels[i] = 255, pixels[i + 3] = 255;
        CFDataRef data = CFDataCreate(kCFAllocatorDefault, pixels.data(), static_cast<CFIndex>(pixels.size()));
        CGDataProviderRef provider = CGDataProviderCreateWithCFData(data);
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        image_ = CGImageCreate(width, height, 8, 32, width * 4, space, kCGImageAlphaLast, provider, nullptr, false,
                               kCGRenderingIntentDefault);
        CGColorSpaceRelease(space);
        CGDataProviderRelease(provider);
        CFRelease(data);
    }
    ~ImageValue() override { CGImageRelease(image_); }
    void GetPixelSize(uint32_t* width, uint32_t* height) override {
        *width = static_cast<uint32_t>(CGImageGetWidth(image_));
        *height = static_cast<uint32_t>(CGImageGetHeight(image_));
    }
    CGImageRef GetCGImage() override { return image_; }

private:
    CGImageRef image_ = nullptr;
};

class BinaryValue final : public Value<IQXPDataBinary> {
public:
    explicit BinaryValue(uint32_t entry) : Value("binary:" + std::to_string(entry), entry, kBinaryKind) {}
    uint32_t GetSize() override { return 0; }
    const uint8_t* GetBytes() override { return nullptr; }
};

class Dictionary final : public Counted<IQXPDictionary> {
public:
    Dictionary() : Counted("dictionary") {}
    ~Dictionary() override {
        for (auto& [entry, value] : values_) value->Release();
    }
    void Add(uint32_t entry, IQXPDataBase* value) { values_[entry] = value; }
    uint32_t GetCount() override { return static_cast<uint32_t>(values_.size()); }
    uint32_t GetEntryIDAt(uint32_t) override { return 0; }
    bool HasValue(const uint32_t& entry) override { return values_.count(entry) != 0; }
    int32_t GetValue(const uint32_t& entry, TInterfacePtr<IQXPDataBase>& value) override {
        auto found = values_.find(entry);
        if (found == values_.end()) {
            value.Clear();
            return -1;
        }
        found->second->AddRef();
        value.Attach(found->second);
        return 0;
    }

private:
    std::map<uint32_t, IQXPDataBase*> values_;
};

class Request final : public Counted<IQXPExtractInfo> {
public:
    explicit Request(uint32_t mask) : Counted("request"), mask_(mask) {}
    uint32_t GetMask() override { return mask_; }

private:
    uint32_t mask_;
};

std::string Unescape(std::string text) {
    for (size_t at = 0; (at = text.find("\\n", at)) != std::string::npos; ++at) text.replace(at, 2, "\n");
    return text;
}

// The tab-separated fields of a line; a tab at the end leaves an empty last field.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line)
        if (c == '\t') fields.emplace_back(); else fields.back() += c;
    return fields;
}

class Reader final : public Counted<IQXPMetaDataReader> {
public:
    explicit Reader(std::vector<std::string> script) : Counted("reader"), script_(std::move(script)) {}
    uint32_t GetPageCount() override { return 0; }
    uint32_t GetFormatVersion() override { return 0; }
    bool IsOpen() override { return true; }
    CFStringRef GetPath() override { return nullptr; }
    void Close() override {}

    int32_t ExtractMetaData(IQXPExtractInfo* request, TInterfacePtr<IQXPDictionary>& dictionary) override {
        Log(std::string("ExtractMetaData ") + (request ? std::to_string(request->GetMask()) : "null"));
        int32_t status = request ? 0 : -1;
        std::map<uint32_t, std::set<uint32_t>> holes;
        for (const std::string& line : script_) {
            std::vector<std::string> f = Fields(line);
            if (f.size() >= 3 && f[0] == "hole") holes[std::stoul(f[1])].insert(static_cast<uint32_t>(std::stoul(f[2])));
            if (f.size() >= 2 && f[0] == "extract") status = std::stoi(f[1]);
        }
        auto* result = new Dictionary();
        for (const std::string& line : script_) {
            std::vector<std::string> f = Fields(line);
            if (f.size() < 2 || f[0] == "extract" || f[0] == "reader" || f[0] == "hole") continue;
            const auto entry = static_cast<uint32_t>(std::stoul(f[1]));
            if (f[0] == "string") {
                result->Add(entry, new StringValue("string:" + f[1], entry, Unescape(f.size() > 2 ? f[2] : "")));
            } else if (f[0] == "float") {
                result->Add(entry, new FloatValue(entry, std::stof(f[2])));
            } else if (f[0] == "list") {
                std::vector<std::string> texts;
                for (size_t i = 2; i < f.size(); ++i) texts.push_back(Unescape(f[i]));
                result->Add(entry, new ListValue(entry, texts, holes[entry]));
            } else if (f[0] == "numbered") {
                std::vector<std::string> texts;
                for (unsigned long i = 0; i < std::stoul(f[2]); ++i) texts.push_back(f[3] + std::to_string(i));
                result->Add(entry, new ListValue(entry, texts, holes[entry]));
            } else if (f[0] == "image") {
                bool none = f[2] == "none";
                result->Add(entry, new ImageValue(entry, none ? 0 : std::stoul(f[2]), none ? 0 : std::stoul(f[3])));
            } else if (f[0] == "binary") {
                result->Add(entry, new BinaryValue(entry));
            }
        }
        dictionary.Attach(result);
        return status;
    }

private:
    std::vector<std::string> script_;
};

std::string Hex(const UniChar* units) {
    std::string text;
    char unit[8];
    for (; *units != 0; ++units) {
        std::snprintf(unit, sizeof unit, "%s%04X", text.empty() ? "" : " ", *units);
        text += unit;
    }
    return text;
}

}  // namespace

extern "C" int32_t CreateIQXPExtractInfo(TInterfacePtr<IQXPExtractInfo>& request, uint32_t mask, uint32_t reserved1,
                                         uint32_t reserved2, uint32_t reserved3) {
    Log("CreateIQXPExtractInfo " + std::to_string(mask) + " " + std::to_string(reserved1) + " " +
        std::to_string(reserved2) + " " + std::to_string(reserved3));
    if (std::getenv("FAKE_QXP_NO_REQUEST") != nullptr) return -1;
    request.Attach(new Request(mask));
    return 0;
}

extern "C" int32_t CreateQXPMetaDataReader(const UniChar* path, TInterfacePtr<IQXPMetaDataReader>& reader) {
    Log("CreateQXPMetaDataReader " + Hex(path));
    CFIndex length = 0;
    while (path[length] != 0) ++length;
    CFStringRef string = CFStringCreateWithCharacters(kCFAllocatorDefault, path, length);
    std::vector<char> utf8(static_cast<size_t>(length) * 3 + 1);
    bool converted = CFStringGetCString(string, utf8.data(), static_cast<CFIndex>(utf8.size()), kCFStringEncodingUTF8);
    CFRelease(string);
    if (!converted) return -1;
    std::ifstream document(utf8.data());
    if (!document) return -1;
    std::vector<std::string> script;
    for (std::string line; std::getline(document, line);) {
        if (line == "reader\tnone") return -1;
        script.push_back(line);
    }
    reader.Attach(new Reader(std::move(script)));
    return 0;
}
