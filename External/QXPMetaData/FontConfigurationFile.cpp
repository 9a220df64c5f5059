#include "FontConfigurationFile.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>

namespace QUARK::QXPMETADATA {

std::string ProductFontConfigurationFile() {
    if (const char* chosen = std::getenv("FONTCONFIG_FILE"); chosen != nullptr && *chosen != '\0') return {};
    Dl_info self{};
    if (dladdr(reinterpret_cast<const void*>(&ProductFontConfigurationFile), &self) == 0 || self.dli_fname == nullptr)
        return {};
    const std::string module = self.dli_fname;
    const size_t slash = module.rfind('/');
    if (slash == std::string::npos) return {};
    // The path from the library folder to share/foliotta/fonts.conf, as the install lays them out.
    std::string file = module.substr(0, slash + 1) + ORVELLA_FONT_CONFIGURATION_FROM_LIBRARIES;
    struct stat status {};
    return stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode) ? file : std::string();
}

}  // namespace QUARK::QXPMETADATA
