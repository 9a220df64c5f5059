#include "ThumbnailCache.h"

#include <Foundation/NSPathUtilities.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

namespace fs = std::filesystem;

namespace {

constexpr const char* kQuarkXPressType = "application/vnd.quark.quarkxpress";

uint32_t BigEndian(const unsigned char* bytes) { return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3]; }

// The uncompressed text chunks (tEXt, iTXt) before the picture data; empty for anything that is
// not a PNG.
std::map<std::string, std::string> PngTexts(const fs::path& file)
{
    std::map<std::string, std::string> texts;
    std::ifstream in(file, std::ios::binary);
    std::array<unsigned char, 8> signature{};
    if (!in.read(reinterpret_cast<char*>(signature.data()), 8) || signature != std::array<unsigned char, 8>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})
        return texts;
    unsigned char header[8];
    while (in.read(reinterpret_cast<char*>(header), 8)) {
        const uint32_t length = BigEndian(header);
        const std::string type(reinterpret_cast<char*>(header + 4), 4);
        if (type == "IDAT" || type == "IEND" || length > (1u << 20))
            break;
        std::string data(length, '\0');
        if (!in.read(data.data(), length) || !in.ignore(4))
            break;
        const size_t keywordEnd = data.find('\0');
        if (keywordEnd == std::string::npos)
            continue;
        const std::string keyword = data.substr(0, keywordEnd);
        if (type == "tEXt") {
            texts[keyword] = data.substr(keywordEnd + 1);
        } else if (type == "iTXt" && keywordEnd + 2 < data.size() && data[keywordEnd + 1] == 0) {
            // keyword, compression flag and method, language tag, translated keyword, text
            const size_t language = data.find('\0', keywordEnd + 3);
            const size_t translated = language == std::string::npos ? language : data.find('\0', language + 1);
            if (translated != std::string::npos)
                texts[keyword] = data.substr(translated + 1);
        }
    }
    return texts;
}

int HexDigit(char c)
{
    if (std::isdigit(static_cast<unsigned char>(c)))
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string Unescaped(const std::string& text)
{
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            plain += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

// The local file a file:// URI names.
std::optional<fs::path> LocalFile(const std::string& uri)
{
    const std::string scheme = "file://";
    if (uri.compare(0, scheme.size(), scheme) != 0)
        return std::nullopt;
    const size_t pathStart = uri.find('/', scheme.size());
    return pathStart == std::string::npos ? std::nullopt : std::optional(fs::path(Unescaped(uri.substr(pathStart))));
}

bool HasQuarkXPressExtension(const std::string& uri)
{
    const size_t dot = uri.rfind('.');
    if (dot == std::string::npos || uri.find('/', dot) != std::string::npos)
        return false;
    std::string extension = uri.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char* known : {"qxd", "qxp", "qxt", "qwd", "qwt", "qxl", "qxb"})
        if (extension == known)
            return true;
    return false;
}

// nullopt when the file cannot be read.
std::optional<bool> HasQuarkXPressContent(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    char start[8];
    if (!in)
        return std::nullopt;
    return in.read(start, 8) && std::string(start + 4, 4) == "XPR3";
}

bool IsQuarkXPressEntry(const fs::path& entry)
{
    const std::map<std::string, std::string> texts = PngTexts(entry);
    if (const auto type = texts.find("Thumb::Mimetype"); type != texts.end() && !type->second.empty())
        return type->second == kQuarkXPressType;
    const auto uri = texts.find("Thumb::URI");
    if (uri == texts.end())
        return false;
    if (const std::optional<fs::path> file = LocalFile(uri->second))
        if (const std::optional<bool> content = HasQuarkXPressContent(*file))
            return *content;
    return HasQuarkXPressExtension(uri->second);
}

int DeleteIn(const fs::path& folder)
{
    int deleted = 0;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".png" && entry.is_regular_file(error) && IsQuarkXPressEntry(entry.path()) &&
            fs::remove(entry.path(), error))
            ++deleted;
    }
    return deleted;
}

}  // namespace

std::string ThumbnailCacheFolder()
{
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    const fs::path base = cacheHome && *cacheHome == '/' ? fs::path(cacheHome) : fs::path(NSHomeDirectory().utf8()) / ".cache";
    return (base / "thumbnails").string();
}

int DeleteQuarkXPressEntries(const std::string& cacheFolder)
{
    int deleted = 0;
    std::error_code error;
    for (const fs::directory_entry& size : fs::directory_iterator(cacheFolder, error)) {
        if (!size.is_directory(error))
            continue;
        if (size.path().filename() != "fail") {
            deleted += DeleteIn(size.path());
            continue;
        }
        for (const fs::directory_entry& application : fs::directory_iterator(size.path(), error))
            if (application.is_directory(error))
                deleted += DeleteIn(application.path());
    }
    return deleted;
}
