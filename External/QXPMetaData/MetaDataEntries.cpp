#include "MetaDataEntries.h"

#include "DataValues.h"
#include "PictureModule.h"

#include <charconv>
#include <cmath>

namespace QUARK::QXPMETADATA {

namespace {

// Ten-thousandths of a point are all a document holds; beyond that are rounding remains.
std::string ShortestNumber(double value) {
    if (!std::isfinite(value)) return "0";
    double rounded = std::round(value * 10000) / 10000;
    if (rounded == 0) rounded = 0;  // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded);
    return std::string(buffer, result.ptr);
}

std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    return text;
}

}  // namespace

std::string PageSizeText(const PageSize& page) {
    return ShortestNumber(page.width) + " x " + ShortestNumber(page.height) + " pt";
}

std::string SummaryText(const FormatHeader& header, bool isTemplate, size_t pageCount) {
    return header.FormatName() + (isTemplate ? " template, " : " document, ") + std::to_string(pageCount) +
           (pageCount == 1 ? " page" : " pages");
}

void AddEntries(ResultDictionary& dictionary, uint32_t mask, int pictureLongerSide, const DocumentModel& model,
                const FormatHeader& header, bool isTemplate) {
    const PageSize firstPage = model.pages.empty() ? PageSize{} : model.pages.front();
    if (mask & kQXPEntrySummary)
        dictionary.Add(kQXPEntrySummary, StringValue::Make(kQXPEntrySummary, SummaryText(header, isTemplate, model.pages.size())));
    if (mask & kQXPEntryPageWidth)
        dictionary.Add(kQXPEntryPageWidth, FloatValue::Make(kQXPEntryPageWidth, static_cast<float>(firstPage.width)));
    if (mask & kQXPEntryPageHeight)
        dictionary.Add(kQXPEntryPageHeight, FloatValue::Make(kQXPEntryPageHeight, static_cast<float>(firstPage.height)));
    if (mask & kQXPEntryThumbnail)
        dictionary.Add(kQXPEntryThumbnail,
                       ImageValue::Make(kQXPEntryThumbnail, RenderPageWithModule(firstPage, model.firstPageItems, pictureLongerSide)));
    if (mask & kQXPEntryParagraphs)
        dictionary.Add(kQXPEntryParagraphs, StringArrayValue::Make(kQXPEntryParagraphs, model.paragraphs));
    if (mask & kQXPEntryColors) dictionary.Add(kQXPEntryColors, StringArrayValue::Make(kQXPEntryColors, model.colors));
    if (mask & kQXPEntryFonts) dictionary.Add(kQXPEntryFonts, StringArrayValue::Make(kQXPEntryFonts, model.fonts));
    if (mask & kQXPEntryPageSizes) {
        std::vector<std::string> sizes;
        for (const PageSize& page : model.pages) sizes.push_back(PageSizeText(page));
        dictionary.Add(kQXPEntryPageSizes, StringArrayValue::Make(kQXPEntryPageSizes, std::move(sizes)));
    }
    if (mask & kQXPEntryText)
        dictionary.Add(kQXPEntryText, StringValue::Make(kQXPEntryText, JoinedLines(model.paragraphs)));
    if (mask & kQXPEntryFormat) dictionary.Add(kQXPEntryFormat, StringValue::Make(kQXPEntryFormat, header.FormatName()));
}

}  // namespace QUARK::QXPMETADATA
