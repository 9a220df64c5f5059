// qxpextract MODE DOCUMENT PASTEBOARD
// Reads a QuarkXPress document through the vendor's metadata library and leaves what the mode
// asks for on the named pasteboard: "-t" the picture, "-p" the preview data, "-s" the search data.
// The caller reads the pasteboard; the exit status is 0 except when the path cannot be used (-1).
#include "ConvertInterfacePtr.h"
#include "DocumentPath.h"
#include "ExtractionMode.h"
#include "PasteboardPublisher.h"

#include <ApplicationServices/ApplicationServices.h>

#include <cstdint>
#include <cstdio>

using namespace QUARK::COM;
using namespace QUARK::QXPMETADATA;

namespace {

// First item ID of each list, and how many elements fit before the next list's first ID.
constexpr uint32_t kColorsBase = 5001, kColorsRoom = 5000;
constexpr uint32_t kPageSizesBase = 10001, kPageSizesRoom = 90000;
constexpr uint32_t kFontsBase = 100001, kFontsRoom = 900000;
constexpr uint32_t kParagraphsBase = 1000001, kParagraphsRoom = UINT32_MAX - kParagraphsBase + 1;

// The pasteboard stays ours until the process ends; it is given back after every holder.
struct PasteboardKeeper {
    PasteboardRef pasteboard = nullptr;
    ~PasteboardKeeper() {
        if (pasteboard != nullptr) CFRelease(pasteboard);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fputs("usage: qxpextract -t|-p|-s DOCUMENT PASTEBOARD\n", stderr);
        return -1;
    }
    const char* modeSwitch = argv[1];
    const char* documentPath = argv[2];
    const char* pasteboardName = argv[3];

    std::fputs("argument 1 = ", stdout);
    std::fputs(modeSwitch, stdout);
    std::fputs(" argument 2 = ", stdout);
    std::fputs(documentPath, stdout);
    std::fputs(" argument 3(string) = ", stdout);
    std::fputs(pasteboardName, stdout);

    // Cleared before the document is opened, so a failed run never leaves an earlier run's items.
    // A name that is not UTF-8 gives no string, and the platform then makes a uniquely named one.
    CFStringRef pasteboardNameString =
        CFStringCreateWithCString(kCFAllocatorDefault, pasteboardName, kCFStringEncodingUTF8);
    PasteboardKeeper keeper;
    PasteboardCreate(pasteboardNameString, &keeper.pasteboard);
    PasteboardClear(keeper.pasteboard);

    TInterfacePtr<IQXPExtractInfo> request;
    TInterfacePtr<IQXPMetaDataReader> reader;
    TInterfacePtr<IQXPDictionary> dictionary;
    TInterfacePtr<IQXPDataBase> currentValue;
    TInterfacePtr<IQXPDataFloat> floatValue;
    TInterfacePtr<IQXPDataString> stringValue;
    TInterfacePtr<IQXPDataStringArray> stringList;
    TInterfacePtr<IQXPDataImage> image;

    const ExtractionMode mode = ModeForSwitch(modeSwitch);
    if (mode != kNoMode) CreateIQXPExtractInfo(request, MaskForMode(mode), 0, 0, 0);

    CFStringRef pathString = CreateDocumentPathString(documentPath);
    if (pathString == nullptr) {
        if (pasteboardNameString != nullptr) CFRelease(pasteboardNameString);
        return -1;
    }
    OpenDocument(pathString, reader);
    CFRelease(pathString);

    // A reader the library could not make counts as a document that could not be read.
    if (!reader.IsEmpty() && reader->ExtractMetaData(request.Get(), dictionary) == 0) {
        PasteboardPublisher publish(keeper.pasteboard, dictionary, currentValue, floatValue, stringValue, stringList,
                                    image);
        if (mode == kPreviewMode) {
            publish.PublishText(kQXPEntrySummary, 3);
            publish.PublishFloat(kQXPEntryPageWidth, 4);
            publish.PublishFloat(kQXPEntryPageHeight, 5);
            publish.PublishList(kQXPEntryParagraphs, kParagraphsBase, kParagraphsRoom);
        }
        if (mode == kPreviewMode || mode == kSearchMode) {
            publish.PublishList(kQXPEntryFonts, kFontsBase, kFontsRoom);
            publish.PublishList(kQXPEntryColors, kColorsBase, kColorsRoom);
            publish.PublishList(kQXPEntryPageSizes, kPageSizesBase, kPageSizesRoom);
        }
        if (mode == kSearchMode) {
            publish.PublishText(kQXPEntryFormat, 1);
            publish.PublishText(kQXPEntryText, 0);
        }
        if (mode == kThumbnailMode || mode == kPreviewMode) publish.PublishImage(kQXPEntryThumbnail, 2);
    }

    // The holders go after the name, in reverse order of their declaration.
    if (pasteboardNameString != nullptr) CFRelease(pasteboardNameString);
    return 0;
}
