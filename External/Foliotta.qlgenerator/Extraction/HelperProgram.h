// Where the generator's programs find qxpextract: beside themselves, or where the install put it
// relative to them (so an installed tree can move as a whole).
#pragma once

#include <string>

// installedRelativePath is the path from the running program's folder to the installed tool.
// Empty when neither place holds an executable file.
std::string LocateQxpExtract(const std::string& installedRelativePath);
