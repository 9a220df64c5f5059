#include "ThumbnailerOverride.h"

#include <Foundation/NSPathUtilities.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string Entry(const std::string& tryExec, const std::string& exec)
{
    return "[Thumbnailer Entry]\n"
           "TryExec=" + tryExec + "\n"
           "Exec=" + exec + "\n"
           "MimeType=application/vnd.quark.quarkxpress;\n";
}

std::string BackgroundArgument(const std::optional<SkinColor>& background)
{
    if (!background)
        return "none";
    return std::to_string(background->red) + "," + std::to_string(background->green) + "," + std::to_string(background->blue);
}

}  // namespace

std::string OverrideDrawingIn(const std::string& thumbnailerProgram, const SkinPalette& skin,
                              const std::optional<SkinColor>& background)
{
    return Entry(thumbnailerProgram, thumbnailerProgram + " --skin " + skin.title + " --background " +
                                         BackgroundArgument(background) + " -s %s %u %o");
}

std::string OverrideDeclining(const std::string& thumbnailerProgram)
{
    return Entry(thumbnailerProgram, "/usr/bin/false %u %o");
}

std::string OverridePath()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const fs::path base = dataHome && *dataHome == '/' ? fs::path(dataHome) : fs::path(NSHomeDirectory().utf8()) / ".local/share";
    return (base / "thumbnailers" / kThumbnailerFileName).string();
}

bool ReplaceFile(const std::string& path, const std::string& text)
{
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!(out << text) || !out.flush()) {
            fs::remove(temporary, error);
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}
