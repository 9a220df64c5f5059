#include "PreviewLook.h"

#include "SkinSettings.h"

PreviewLook ReadPreviewLook() {
    const std::optional<SkinSettings> settings = ReadInstalledSkinSettings();
    if (!settings) return {&SkinPaletteAtListIndex(0), std::nullopt};
    PreviewLook look{&SkinPaletteAtListIndex(settings->skinListIndex), std::nullopt};
    if (const std::optional<SkinBackgroundColor>& color = settings->background)
        look.background = QColor::fromRgbF(color->red, color->green, color->blue);
    return look;
}

QColor SkinQColor(const SkinColor& color) { return QColor(color.red, color.green, color.blue); }
