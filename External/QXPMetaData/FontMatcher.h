// Turns a font name as a document stores it ("Arial-PL", "Helvetica-Bold",
// "TimesNewRomanPS-BoldItalicMT") into a family with weight and slant that fontconfig can match
// to an installed font, falling back to a family of the same sort.
#pragma once

#include <string>

namespace QUARK::QXPMETADATA {

struct FontChoice {
    std::string family;  // an installed family, or a generic one ("sans-serif")
    bool bold = false;
    bool italic = false;
};

FontChoice MatchFont(const std::string& documentName);

}  // namespace QUARK::QXPMETADATA
