// Reading the PNG files the thumbnailer and the desktops write, for the tests.
#pragma once

#include "SkinPalette.h"

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>

// How a failed expectation shows a colour.
inline void PrintTo(const SkinColor& color, std::ostream* out)
{
    *out << "(" << int(color.red) << "," << int(color.green) << "," << int(color.blue) << ")";
}

// Null image when the file is missing or not a picture.
inline QImage LoadPicture(const std::string& path) { return QImage(QString::fromStdString(path)); }

inline SkinColor ColorAt(const QImage& picture, int x, int y)
{
    const QColor color = picture.pixelColor(x, y);
    return SkinColor{static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()), static_cast<uint8_t>(color.blue())};
}

inline int LongerSide(const QImage& picture) { return std::max(picture.width(), picture.height()); }

// Files in a folder, names only, sorted.
inline std::string FolderListing(const std::string& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.insert(entry.path().filename().string());
    std::string listing;
    for (const std::string& name : names)
        listing += name + " ";
    return listing;
}
