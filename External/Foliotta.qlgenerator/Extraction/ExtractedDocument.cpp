#include "ExtractedDocument.h"

namespace {

std::string Item(const std::map<intptr_t, std::string>& items, intptr_t id) {
    auto found = items.find(id);
    return found == items.end() ? std::string() : found->second;
}

// A list ends at its first missing element; it never reaches the next list's base.
std::vector<std::string> List(const std::map<intptr_t, std::string>& items, intptr_t base, intptr_t capacity) {
    std::vector<std::string> list;
    for (intptr_t id = base; id < base + capacity; ++id) {
        auto found = items.find(id);
        if (found == items.end()) break;
        list.push_back(found->second);
    }
    return list;
}

}  // namespace

bool ExtractedDocument::empty() const {
    return summary.empty() && firstPageWidth.empty() && firstPageHeight.empty() && paragraphs.empty() && fonts.empty() &&
           colors.empty() && pageSizes.empty() && pagePicture.empty() && format.empty() && text.empty();
}

ExtractedDocument ExtractedDocumentFromItems(const std::map<intptr_t, std::string>& items) {
    ExtractedDocument document;
    document.text = Item(items, 0);
    document.format = Item(items, 1);
    document.pagePicture = Item(items, 2);
    document.summary = Item(items, 3);
    document.firstPageWidth = Item(items, 4);
    document.firstPageHeight = Item(items, 5);
    document.colors = List(items, 5001, 5000);
    document.pageSizes = List(items, 10001, 90000);
    document.fonts = List(items, 100001, 900000);
    document.paragraphs = List(items, 1000001, INTPTR_MAX - 1000001);
    return document;
}
