#include "FontConfiguration.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

void UseOwnFontConfiguration()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return;
    const fs::path configuration = program.parent_path().parent_path() / "share/foliotta/fonts.conf";
    if (fs::is_regular_file(configuration, error))
        setenv("FONTCONFIG_FILE", configuration.c_str(), 1);
}
