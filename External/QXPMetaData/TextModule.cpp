#include "TextModule.h"

#include "SiblingModule.h"

namespace QUARK::QXPMETADATA {

void DrawTextBoxWithModule(cairo_t* cr, const TextBox& box) {
    static const auto draw = reinterpret_cast<DrawTextBoxFunction>(SymbolFromSiblingModule(
        reinterpret_cast<const void*>(&DrawTextBoxWithModule), "libQXPMetaDataText.so", kDrawTextBoxSymbol));
    if (draw != nullptr) draw(cr, &box);
}

}  // namespace QUARK::QXPMETADATA
