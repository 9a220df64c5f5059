// What qxpextract left on the pasteboard, sorted into the document's facts. Item IDs follow the
// tool's publication format: single values under fixed IDs, lists under consecutive IDs from a base.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct ExtractedDocument {
    std::string summary;                  // 3: "QuarkXPress 4.0 document, 1 page"
    std::string firstPageWidth;           // 4: points, e.g. "612"
    std::string firstPageHeight;          // 5
    std::vector<std::string> paragraphs;  // 1000001 + i
    std::vector<std::string> fonts;       // 100001 + i
    std::vector<std::string> colors;      // 5001 + i: "#rrggbb"
    std::vector<std::string> pageSizes;   // 10001 + i: "612 x 792 pt"
    std::string pagePicture;              // 2: PNG
    std::string format;                   // 1: "QuarkXPress 4.0"
    std::string text;                     // 0: the whole text

    // Nothing at all was found: the tool could not read the document.
    bool empty() const;
};

ExtractedDocument ExtractedDocumentFromItems(const std::map<intptr_t, std::string>& items);
