#include "SkinSettings.h"

#include <algorithm>
#include <cmath>
#include <memory>

std::optional<NSString> InstalledSettingsFolder()
{
    NSFileManager* fileManager = NSFileManager::defaultManager();
    if (fileManager->fileExistsAtPath(NSString::stringWithFormat("%@/Library/QuickLook/Foliotta.qlgenerator", NSHomeDirectory())))
        return NSString::stringWithFormat("%@/Library/QuickLook/Foliotta.qlgenerator/Contents/Resources", NSHomeDirectory());
    if (fileManager->fileExistsAtPath("/Library/QuickLook/Foliotta.qlgenerator"))
        return NSString("/Library/QuickLook/Foliotta.qlgenerator/Contents/Resources");
    return std::nullopt;
}

long long SkinListIndexFromValue(id value) { return static_cast<long long>(value ? value->intValue() : 0) + 1; }

std::optional<SkinBackgroundColor> BackgroundFromValue(id value)
{
    auto text = dynamic_cast<const NSString*>(value);
    if (text && text->isEqualToString("none"))
        return std::nullopt;

    NSArray parts;
    if (text && text->length() >= 5) {
        NSString inner = text->substringFromIndex(4);
        parts = inner.substringToIndex(inner.length() - 1).componentsSeparatedByString(",");
    }
    // Parts past the end read as empty strings, which read as 0.
    return SkinBackgroundColor{parts.objectAtIndex(0).floatValue() / 255.0f, parts.objectAtIndex(1).floatValue() / 255.0f,
                               parts.objectAtIndex(2).floatValue() / 255.0f};
}

SkinSettings ReadSkinSettings(const NSString& settingsFile)
{
    const std::unique_ptr<NSMutableDictionary> settings = NSMutableDictionary::dictionaryWithContentsOfFile(settingsFile);
    id skin = settings ? settings->objectForKey("Skin Index") : nil;
    id background = settings ? settings->objectForKey("BGColor") : nil;
    return SkinSettings{SkinListIndexFromValue(skin), BackgroundFromValue(background)};
}

std::optional<SkinSettings> ReadInstalledSkinSettings()
{
    const std::optional<NSString> folder = InstalledSettingsFolder();
    if (!folder)
        return std::nullopt;
    return ReadSkinSettings(folder->stringByAppendingString("/skin.plist"));
}

SkinColor SkinColorOf(const SkinBackgroundColor& color)
{
    auto channel = [](double component) { return static_cast<uint8_t>(std::lround(std::clamp(component, 0.0, 1.0) * 255)); };
    return SkinColor{channel(color.red), channel(color.green), channel(color.blue)};
}
