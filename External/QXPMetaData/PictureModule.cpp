#include "PictureModule.h"

#include "SiblingModule.h"

namespace QUARK::QXPMETADATA {

CGImageRef RenderPageWithModule(const PageSize& page, const std::vector<PageItem>& items, int longerSide) {
    static const auto renderer = reinterpret_cast<RenderPageFunction>(SymbolFromSiblingModule(
        reinterpret_cast<const void*>(&RenderPageWithModule), "libQXPMetaDataPicture.so", kRenderPageSymbol));
    return renderer != nullptr ? renderer(&page, &items, longerSide) : nullptr;
}

}  // namespace QUARK::QXPMETADATA
