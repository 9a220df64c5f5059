#include "PreviewLook.h"

#include "OrvellaAppearance.h"

PreviewLook ReadPreviewLook() {
    const std::optional<OrvellaAppearance> appearance = OrvellaReadAppearance();
    if (!appearance) return {&SkinPaletteAtListIndex(0), std::nullopt};
    PreviewLook look{&SkinPaletteAtListIndex(appearance->skinListIndex), std::nullopt};
    if (!appearance->background.noColor) {
        const NSColor& color = appearance->background.color;
        look.background = QColor::fromRgbF(static_cast<float>(color.redComponent()), static_cast<float>(color.greenComponent()),
                                           static_cast<float>(color.blueComponent()));
    }
    return look;
}

QColor SkinQColor(const SkinColor& color) { return QColor(color.red, color.green, color.blue); }
