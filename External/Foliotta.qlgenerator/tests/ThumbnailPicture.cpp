#include "ThumbnailPicture.h"

#include <algorithm>
#include <filesystem>
#include <set>

void PrintTo(const SkinColor& color, std::ostream* out)
{
    *out << "(" << int(color.red) << "," << int(color.green) << "," << int(color.blue) << ")";
}

QImage LoadPicture(const std::string& path) { return QImage(QString::fromStdString(path)); }

SkinColor ColorAt(const QImage& picture, int x, int y)
{
    const QColor color = picture.pixelColor(x, y);
    return SkinColor{static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()), static_cast<uint8_t>(color.blue())};
}

int Alpha(const QImage& picture, int x, int y) { return picture.pixelColor(x, y).alpha(); }

int LongerSide(const QImage& picture) { return std::max(picture.width(), picture.height()); }

std::string FolderListing(const std::string& folder)
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
