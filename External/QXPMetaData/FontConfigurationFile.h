// Which font configuration the text drawing loads: the product's own, the one the thumbnailer
// ships for the desktop's sandbox, so that every program that draws text (qxpextract, the
// preview, the thumbnailer) picks the same faces, and none parses the system's whole
// configuration at every run.
#pragma once

#include <string>

namespace QUARK::QXPMETADATA {

// The product's fonts.conf, found from this module's own folder by the installed layout; empty
// (fontconfig's own choice) when FONTCONFIG_FILE names one, or when the file is not there (the
// build tree, a library installed without the thumbnailer).
std::string ProductFontConfigurationFile();

}  // namespace QUARK::QXPMETADATA
