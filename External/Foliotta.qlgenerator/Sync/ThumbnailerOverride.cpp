#include "ThumbnailerOverride.h"

#include <Foundation/NSPathUtilities.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A value of the string type: the key file's reader turns "\\" back into one backslash.
std::string StringValue(const std::string& text)
{
    std::string value;
    for (char c : text)
        value += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return value;
}

// One argument of an Exec command line, as freedesktop.org's desktop entries write it: in double
// quotes when it holds a blank or another character the shell would read (a backslash before
// each ", `, $ and backslash inside them), and every "%" doubled, as a field code would
// otherwise start there.
std::string ExecArgument(const std::string& argument)
{
    std::string quoted;
    const bool needsQuotes = argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    for (char c : argument) {
        if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\'))
            quoted += '\\';
        quoted += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return needsQuotes ? '"' + quoted + '"' : quoted;
}

// TryExec names the program as a plain path; Exec is a command line, written as a string value.
std::string Entry(const std::string& program, const std::string& commandLine)
{
    return "[Thumbnailer Entry]\n"
           "TryExec=" + StringValue(program) + "\n"
           "Exec=" + StringValue(commandLine) + "\n"
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
    return Entry(thumbnailerProgram, ExecArgument(thumbnailerProgram) + " --skin " + ExecArgument(skin.title) +
                                         " --background " + BackgroundArgument(background) + " -s %s %u %o");
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
