#include "OrvellaSettings.h"

#include "SkinSettings.h"

std::optional<NSString> filePath;
std::unique_ptr<NSMutableDictionary> plistDict;

void OrvellaLookUpInstall()
{
    if (std::optional<NSString> folder = InstalledSettingsFolder())
        filePath = *folder;
}

std::optional<NSString> OrvellaSettingsFile()
{
    if (!filePath)
        return std::nullopt;
    return filePath->stringByAppendingString("/skin.plist");
}

NSString OrvellaSettingsFileForMessages()
{
    if (std::optional<NSString> file = OrvellaSettingsFile())
        return *file;
    return NSString::stringWithFormat("%@/Library/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist", NSHomeDirectory());
}

void OrvellaLoadSettings()
{
    std::optional<NSString> file = OrvellaSettingsFile();
    plistDict = file ? NSMutableDictionary::dictionaryWithContentsOfFile(*file) : nullptr;
}

id OrvellaStoredValue(const NSString& key) { return plistDict ? plistDict->objectForKey(key) : nil; }

long long OrvellaStoredSkinListIndex() { return SkinListIndexFromValue(OrvellaStoredValue("Skin Index")); }

BOOL OrvellaStoreSettings(const NSString& skinText, const NSString& backgroundText)
{
    std::optional<NSString> file = OrvellaSettingsFile();
    if (!plistDict || !file)
        return NO;
    plistDict->setValue(&skinText, "Skin Index");
    plistDict->setValue(&backgroundText, "BGColor");
    return plistDict->writeToFile(*file, YES);
}
