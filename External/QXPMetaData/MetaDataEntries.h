// Turns what was read from a document into the dictionary entries an extraction asks for.
#pragma once

#include "DocumentModel.h"
#include "FormatHeader.h"
#include "ResultDictionary.h"

#include <string>

namespace QUARK::QXPMETADATA {

// Longer side of the first-page picture, in pixels, unless the request asks for another size.
inline constexpr int kPicturePixels = 512;
// The largest size a request may ask for; larger ones get this.
inline constexpr int kLargestPicturePixels = 4096;

// "612 x 792 pt": each side in its shortest decimal form.
std::string PageSizeText(const PageSize& page);

// "QuarkXPress 4.0 document, 3 pages".
std::string SummaryText(const FormatHeader& header, bool isTemplate, size_t pageCount);

// Adds one value per entry in mask; the picture is drawn only when the mask asks for it, with its
// longer side pictureLongerSide pixels.
void AddEntries(ResultDictionary& dictionary, uint32_t mask, int pictureLongerSide, const DocumentModel& model,
                const FormatHeader& header, bool isTemplate);

}  // namespace QUARK::QXPMETADATA
