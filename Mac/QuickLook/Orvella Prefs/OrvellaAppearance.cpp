#include "OrvellaAppearance.h"

#include "OrvellaSettings.h"

std::optional<OrvellaAppearance> OrvellaReadAppearance()
{
    filePath.reset();
    OrvellaLookUpInstall();
    if (!filePath)
        return std::nullopt;
    OrvellaLoadSettings();
    return OrvellaAppearance{OrvellaStoredSkinListIndex(), OrvellaBackgroundFromValue(OrvellaStoredValue("BGColor"))};
}
