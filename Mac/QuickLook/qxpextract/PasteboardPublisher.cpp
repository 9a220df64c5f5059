#include "PasteboardPublisher.h"

#include <CoreServices/CoreServices.h>

#include <charconv>

namespace QUARK::QXPMETADATA {

namespace {

PasteboardItemID ItemID(uint32_t item) { return reinterpret_cast<PasteboardItemID>(static_cast<uintptr_t>(item)); }

}  // namespace

PasteboardPublisher::PasteboardPublisher(PasteboardRef pasteboard, TInterfacePtr<IQXPDictionary>& dictionary,
                                         TInterfacePtr<IQXPDataBase>& currentValue,
                                         TInterfacePtr<IQXPDataFloat>& floatValue,
                                         TInterfacePtr<IQXPDataString>& stringValue,
                                         TInterfacePtr<IQXPDataStringArray>& stringList,
                                         TInterfacePtr<IQXPDataImage>& image)
    : pasteboard_(pasteboard), dictionary_(dictionary), currentValue_(currentValue), floatValue_(floatValue),
      stringValue_(stringValue), stringList_(stringList), image_(image) {}

bool PasteboardPublisher::LookUp(uint32_t entry) {
    if (dictionary_.IsEmpty()) return false;
    // The lookup's status says nothing the holder does not: an absent entry leaves it empty.
    dictionary_->GetValue(entry, currentValue_);
    return true;
}

void PasteboardPublisher::PublishText(uint32_t entry, uint32_t item) {
    if (!LookUp(entry) || !ConvertInterfacePtr(currentValue_, stringValue_)) return;
    PutStringValue(item);
}

void PasteboardPublisher::PublishFloat(uint32_t entry, uint32_t item) {
    if (!LookUp(entry) || !ConvertInterfacePtr(currentValue_, floatValue_)) return;
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, floatValue_->GetFloat(), std::chars_format::fixed);
    if (error != std::errc()) return;
    CFDataRef utf8 = CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text), end - text);
    PutText(item, utf8);
}

void PasteboardPublisher::PublishList(uint32_t entry, uint32_t firstItem, uint32_t maxCount) {
    if (!LookUp(entry) || !ConvertInterfacePtr(currentValue_, stringList_)) return;
    const uint32_t count = stringList_->GetCount();
    for (uint32_t i = 0; i < count && i < maxCount; ++i) {
        stringValue_ = stringList_->GetStringAt(i);
        // An element the library could not deliver is skipped; its ID stays unused.
        if (!stringValue_.IsEmpty()) PutStringValue(firstItem + i);
    }
}

void PasteboardPublisher::PublishImage(uint32_t entry, uint32_t item) {
    if (!LookUp(entry) || !ConvertInterfacePtr(currentValue_, image_)) return;
    CGImageRef picture = image_->GetCGImage();  // owned by the value
    if (picture == nullptr) return;
    CFMutableDataRef png = CFDataCreateMutable(kCFAllocatorDefault, 0);
    CGImageDestinationRef destination = CGImageDestinationCreateWithData(png, kUTTypePNG, 1, nullptr);
    if (destination != nullptr) {
        CGImageDestinationAddImage(destination, picture, nullptr);
        CGImageDestinationFinalize(destination);
    }
    PasteboardPutItemFlavor(pasteboard_, ItemID(item), kUTTypePNG, png, kPasteboardFlavorNoFlags);
    CFRelease(png);
    if (destination != nullptr) CFRelease(destination);
}

void PasteboardPublisher::PutStringValue(uint32_t item) {
    CFStringRef text = stringValue_->GetCFString();  // owned by the value
    if (text == nullptr) return;
    PutText(item, CFStringCreateExternalRepresentation(kCFAllocatorDefault, text, kCFStringEncodingUTF8, 0));
}

void PasteboardPublisher::PutText(uint32_t item, CFDataRef utf8) {
    // A text that has no UTF-8 form (a lone surrogate) is left out rather than put half.
    if (utf8 == nullptr) return;
    PasteboardPutItemFlavor(pasteboard_, ItemID(item), kUTTypeUTF8PlainText, utf8, kPasteboardFlavorNoFlags);
    CFRelease(utf8);
}

}  // namespace QUARK::QXPMETADATA
