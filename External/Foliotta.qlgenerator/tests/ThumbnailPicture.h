// Reading the PNG files the thumbnailer and the desktops write, for the tests.
#pragma once

#include "SkinPalette.h"

#include <QImage>

#include <optional>
#include <ostream>
#include <string>

// How a failed expectation shows a colour.
void PrintTo(const SkinColor& color, std::ostream* out);

// Null image when the file is missing or not a picture.
QImage LoadPicture(const std::string& path);
SkinColor ColorAt(const QImage& picture, int x, int y);
int Alpha(const QImage& picture, int x, int y);
int LongerSide(const QImage& picture);

// Files in a folder, names only, sorted.
std::string FolderListing(const std::string& folder);
