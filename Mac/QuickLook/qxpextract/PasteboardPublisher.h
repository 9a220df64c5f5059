// Puts extracted values on the named pasteboard: text as UTF-8, lists as runs of numbered text
// items, the picture as PNG. Missing values and values of another kind are skipped silently.
#pragma once

#include "ConvertInterfacePtr.h"

#include <ApplicationServices/ApplicationServices.h>

#include <cstdint>

namespace QUARK::QXPMETADATA {

class PasteboardPublisher {
public:
    // The holders are the extractor's own and are reused for every entry.
    PasteboardPublisher(PasteboardRef pasteboard, TInterfacePtr<IQXPDictionary>& dictionary,
                        TInterfacePtr<IQXPDataBase>& currentValue, TInterfacePtr<IQXPDataFloat>& floatValue,
                        TInterfacePtr<IQXPDataString>& stringValue, TInterfacePtr<IQXPDataStringArray>& stringList,
                        TInterfacePtr<IQXPDataImage>& image);

    void PublishText(uint32_t entry, uint32_t item);
    // The number as the shortest decimal text that reads back as the same float.
    void PublishFloat(uint32_t entry, uint32_t item);
    // Element i goes under firstItem + i; at most maxCount elements, so a list never runs into
    // the item IDs of the list published under the next higher base.
    void PublishList(uint32_t entry, uint32_t firstItem, uint32_t maxCount);
    void PublishImage(uint32_t entry, uint32_t item);

private:
    bool LookUp(uint32_t entry);
    void PutStringValue(uint32_t item);
    void PutText(uint32_t item, CFDataRef utf8);

    PasteboardRef pasteboard_;
    TInterfacePtr<IQXPDictionary>& dictionary_;
    TInterfacePtr<IQXPDataBase>& currentValue_;
    TInterfacePtr<IQXPDataFloat>& floatValue_;
    TInterfacePtr<IQXPDataString>& stringValue_;
    TInterfacePtr<IQXPDataStringArray>& stringList_;
    TInterfacePtr<IQXPDataImage>& image_;
};

}  // namespace QUARK::QXPMETADATA
