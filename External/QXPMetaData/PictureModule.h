// The page drawing lives in a module of its own (libQXPMetaDataPicture.so, beside this library)
// that is loaded only when a picture is asked for: cairo takes longer to load than reading a small
// document takes, and most extractions want no picture.
#pragma once

#include "DocumentModel.h"

#include <CoreGraphics/CoreGraphics.h>

namespace QUARK::QXPMETADATA {

// The name under which the module exports its drawing function.
inline constexpr const char* kRenderPageSymbol = "QXPMetaDataRenderPage";
using RenderPageFunction = CGImageRef (*)(const PageSize* page, const std::vector<PageItem>* items, int longerSide);

// Draws the page through the module; NULL when the module cannot be loaded or drawing failed.
CGImageRef RenderPageWithModule(const PageSize& page, const std::vector<PageItem>& items, int longerSide);

}  // namespace QUARK::QXPMETADATA
