// The per-user .thumbnailer that carries the preview skin and background colour to the desktop's
// thumbnailers. It has the installed thumbnailer's file name, in the user's data folder, which
// the desktops read before the system's, so it takes the installed one's place.
#pragma once

#include "SkinPalette.h"

#include <optional>
#include <string>

inline constexpr const char* kThumbnailerFileName = "foliotta.thumbnailer";

// The thumbnailer run with the skin and background as arguments.
std::string OverrideDrawingIn(const std::string& thumbnailerProgram, const SkinPalette& skin,
                              const std::optional<SkinColor>& background);

// Without a generator bundle there is nothing to preview with: this override claims QuarkXPress
// documents with a command that always declines, so that the installed thumbnailer does not
// run for this user. (Deleting the override would let the installed one take over again.)
std::string OverrideDeclining(const std::string& thumbnailerProgram);

// $XDG_DATA_HOME/thumbnailers/foliotta.thumbnailer, ~/.local/share/... by default.
std::string OverridePath();

// Writes text to path through a temporary file and a rename, making the folder. False on failure.
bool ReplaceFile(const std::string& path, const std::string& text);
