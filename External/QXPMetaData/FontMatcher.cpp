#include "FontMatcher.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

#include <fontconfig/fontconfig.h>

namespace QUARK::QXPMETADATA {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// "TimesNewRoman" -> "Times New Roman"; names that already have blanks stay as they are.
std::string SpacedWords(const std::string& name) {
    if (name.find(' ') != std::string::npos) return name;
    std::string spaced;
    for (size_t i = 0; i < name.size(); ++i) {
        const bool upper = std::isupper(static_cast<unsigned char>(name[i]));
        if (i > 0 && upper && std::islower(static_cast<unsigned char>(name[i - 1]))) spaced += ' ';
        spaced += name[i];
    }
    return spaced;
}

const char* GenericFamily(const std::string& lowerName) {
    for (const char* word : {"courier", "mono", "consol", "typewriter", "code"})
        if (Contains(lowerName, word)) return "monospace";
    for (const char* word : {"times", "roman", "serif", "garamond", "georgia", "palatino", "bookman", "book",
                             "century", "minion", "caslon", "baskerville", "bodoni", "cambria", "goudy", "schoolbook",
                             "angsana", "batang", "mincho"})
        if (Contains(lowerName, word) && !Contains(lowerName, "sans")) return "serif";
    return "sans-serif";
}

// The installed family fontconfig picks for a name, after its aliases ("Helvetica" gives
// "Liberation Sans" where that is installed).
std::string InstalledFamily(const std::string& name) {
    static std::mutex lock;
    static std::map<std::string, std::string> known;
    const std::lock_guard<std::mutex> guard(lock);
    if (const auto found = known.find(name); found != known.end()) return found->second;
    std::string family;
    if (FcPattern* pattern = FcPatternCreate()) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
            FcChar8* matched = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &matched) == FcResultMatch && matched != nullptr)
                family = reinterpret_cast<const char*>(matched);
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    known.emplace(name, family);
    return family;
}

// The installed family for a document's family name. A name fontconfig does not know would get
// its one default family; such names get the default of their sort (serif, monospace) instead.
std::string FamilyFor(const std::string& family, const char* generic) {
    const std::string installed = InstalledFamily(family);
    const std::string fallback = InstalledFamily("Orvella No Such Family");
    if (installed.empty()) return generic;
    if (installed == fallback && Lower(family).find(Lower(installed)) == std::string::npos) {
        const std::string sortDefault = InstalledFamily(generic);
        return sortDefault.empty() ? std::string(generic) : sortDefault;
    }
    return installed;
}

}  // namespace

FontChoice MatchFont(const std::string& documentName) {
    FontChoice choice;
    std::string family = documentName;
    std::string styleWords;
    if (const size_t dash = documentName.find('-'); dash != std::string::npos && dash > 0) {
        family = documentName.substr(0, dash);
        styleWords = Lower(documentName.substr(dash + 1));
    }
    // PostScript names end the family in "PS" or "MT" and the style in "MT".
    for (const char* suffix : {"PSMT", "PS", "MT"})
        if (EndsWith(family, suffix)) {
            family.resize(family.size() - std::string(suffix).size());
            break;
        }
    family = SpacedWords(family);
    const std::string lowerName = Lower(documentName);
    choice.bold = Contains(styleWords, "bold") || Contains(styleWords, "black") || Contains(styleWords, "heavy") ||
                  Contains(styleWords, "demi");
    choice.italic = Contains(styleWords, "italic") || Contains(styleWords, "oblique");
    const char* generic = GenericFamily(lowerName);
    choice.family = family.empty() ? std::string(generic) : FamilyFor(family, generic);
    return choice;
}

}  // namespace QUARK::QXPMETADATA
