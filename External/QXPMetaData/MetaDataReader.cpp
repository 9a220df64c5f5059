#include "MetaDataReader.h"

#include "DocumentCollector.h"
#include "ExtractInfo.h"
#include "ExtractInfo.h"
#include "MetaDataEntries.h"

#include <libqxp/libqxp.h>
#include <librevenge-stream/librevenge-stream.h>

#include <filesystem>
#include <new>

#include <unistd.h>

namespace QUARK::QXPMETADATA {

namespace {

bool IsReadableFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error) && access(path.c_str(), R_OK) == 0;
}

// The picture size of one of this library's requests; requests made elsewhere get the usual size.
int PictureLongerSideOf(IQXPExtractInfo* request) {
    void* own = nullptr;
    if (request->QueryInterface(ExtractInfo::kKindGUID, &own) != 0 || own == nullptr) return kPicturePixels;
    auto* info = static_cast<ExtractInfo*>(static_cast<IQXPExtractInfo*>(own));
    const int longerSide = info->PictureLongerSide();
    info->Release();
    return longerSide;
}

// The file name as a string, read as its callers read names: UTF-8, else Mac OS Roman.
CFStringRef PathString(const std::string& fileName) {
    const auto* bytes = reinterpret_cast<const UInt8*>(fileName.data());
    const auto length = static_cast<CFIndex>(fileName.size());
    CFStringRef string = CFStringCreateWithBytes(kCFAllocatorDefault, bytes, length, kCFStringEncodingUTF8, false);
    return string != nullptr ? string
                             : CFStringCreateWithBytes(kCFAllocatorDefault, bytes, length, kCFStringEncodingMacRoman, false);
}

}  // namespace

MetaDataReader* MetaDataReader::Make(std::string fileName, bool pathUsable) {
    const bool open = pathUsable && IsReadableFile(fileName);
    CFStringRef pathString = pathUsable ? PathString(fileName) : nullptr;
    auto* reader = new (std::nothrow) MetaDataReader(std::move(fileName), open, pathString);
    if (reader == nullptr && pathString != nullptr) CFRelease(pathString);
    return reader;
}

MetaDataReader::MetaDataReader(std::string utf8Path, bool open, CFStringRef pathString)
    : fPath(std::move(utf8Path)), fOpen(open), fPathString(pathString) {
    if (fOpen) fHeader = ReadFormatHeader(fPath);
}

MetaDataReader::~MetaDataReader() {
    if (fPathString != nullptr) CFRelease(fPathString);
}

int32_t MetaDataReader::ExtractMetaData(IQXPExtractInfo* request, TInterfacePtr<IQXPDictionary>& dictionary) {
    try {
        if (request == nullptr) return kQXPErrorNoRequest;
        return Extract(request->GetMask(), PictureLongerSideOf(request), dictionary);
    } catch (...) {
        return kQXPErrorInternal;
    }
}

// One pass of the reader library over the file; the dictionary is filled only on success.
int32_t MetaDataReader::Extract(uint32_t mask, int pictureLongerSide, TInterfacePtr<IQXPDictionary>& dictionary) {
    if (!fOpen || !IsReadableFile(fPath)) return kQXPErrorNotOpen;
    if (!fHeader.recognized) return kQXPErrorUnsupported;

    librevenge::RVNGFileStream stream(fPath.c_str());
    libqxp::QXPDocument::Type type = libqxp::QXPDocument::TYPE_UNKNOWN;
    if (!libqxp::QXPDocument::isSupported(&stream, &type)) return kQXPErrorUnsupported;
    if (type != libqxp::QXPDocument::TYPE_DOCUMENT && type != libqxp::QXPDocument::TYPE_TEMPLATE)
        return kQXPErrorUnsupported;

    DocumentModel model;
    DocumentCollector collector(model, (mask & kQXPEntryThumbnail) != 0);
    stream.seek(0, librevenge::RVNG_SEEK_SET);
    const libqxp::QXPDocument::Result result = libqxp::QXPDocument::parse(&stream, &collector);
    if (result == libqxp::QXPDocument::RESULT_UNSUPPORTED_FORMAT) return kQXPErrorUnsupported;
    if (result != libqxp::QXPDocument::RESULT_OK || model.pages.empty()) return kQXPErrorDamaged;
    fPageCount = static_cast<uint32_t>(model.pages.size());

    ResultDictionary* made = ResultDictionary::Make();
    if (made == nullptr) return kQXPErrorInternal;
    TInterfacePtr<IQXPDictionary> filled;
    filled.Attach(made);
    AddEntries(*made, mask, pictureLongerSide, model, fHeader, type == libqxp::QXPDocument::TYPE_TEMPLATE);
    dictionary = filled;
    return 0;
}

}  // namespace QUARK::QXPMETADATA
