#include "ThumbnailRequest.h"

#include <charconv>

namespace {

std::optional<int> WholeNumber(const std::string& text, int low, int high)
{
    int value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// "none", or "R,G,B" with whole numbers from 0 to 255.
bool ParseBackground(const std::string& text, std::optional<SkinColor>& background)
{
    if (text == "none") {
        background.reset();
        return true;
    }
    int channels[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t comma = i < 2 ? text.find(',', start) : text.size();
        if (comma == std::string::npos)
            return false;
        const std::optional<int> channel = WholeNumber(text.substr(start, comma - start), 0, 255);
        if (!channel)
            return false;
        channels[i] = *channel;
        start = comma + 1;
    }
    background = SkinColor{static_cast<uint8_t>(channels[0]), static_cast<uint8_t>(channels[1]), static_cast<uint8_t>(channels[2])};
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> LocalPathOf(const std::string& pathOrURI)
{
    const std::string scheme = "file://";
    if (pathOrURI.compare(0, scheme.size(), scheme) != 0)
        return pathOrURI.find("://") == std::string::npos ? std::optional(pathOrURI) : std::nullopt;
    std::string rest = pathOrURI.substr(scheme.size());
    if (rest.compare(0, 9, "localhost") == 0)
        rest.erase(0, 9);
    if (rest.empty() || rest[0] != '/')
        return std::nullopt;  // a file on another host
    std::string path;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != '%') {
            path += rest[i];
            continue;
        }
        const int high = i + 1 < rest.size() ? HexDigit(rest[i + 1]) : -1;
        const int low = i + 2 < rest.size() ? HexDigit(rest[i + 2]) : -1;
        if (high < 0 || low < 0 || (high == 0 && low == 0))
            return std::nullopt;
        path += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return path;
}

std::optional<ThumbnailRequest> ParseThumbnailRequest(const std::vector<std::string>& arguments, std::string& error)
{
    ThumbnailRequest request;
    request.skin = &SkinPaletteAtListIndex(0);
    std::vector<std::string> files;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "-s" || argument == "--size" || argument == "--skin" || argument == "--background";
        if (!takesValue) {
            files.push_back(argument);
            continue;
        }
        if (i + 1 == arguments.size()) {
            error = argument + " needs a value";
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        if (argument == "--skin") {
            const SkinPalette* skin = SkinPaletteTitled(value);
            request.skin = skin ? skin : &SkinPaletteAtListIndex(0);
        } else if (argument == "--background") {
            if (!ParseBackground(value, request.background)) {
                error = "the background is \"none\" or R,G,B from 0 to 255, not \"" + value + "\"";
                return std::nullopt;
            }
        } else if (std::optional<int> size = WholeNumber(value, 1, kLargestThumbnail)) {
            request.size = *size;
        } else {
            error = "the size is a whole number from 1 to " + std::to_string(kLargestThumbnail) + ", not \"" + value + "\"";
            return std::nullopt;
        }
    }
    if (files.size() != 2) {
        error = "one document and one output file are needed";
        return std::nullopt;
    }
    std::optional<std::string> documentPath = LocalPathOf(files[0]);
    if (!documentPath) {
        error = "not a local file: " + files[0];
        return std::nullopt;
    }
    request.documentPath = *documentPath;
    request.outputPath = files[1];
    return request;
}
