// The whole flow of one preview: read the chosen look, run qxpextract on the document, and build
// the window for what it found, or for the reason nothing was found.
#pragma once

#include "PreviewWindow.h"

#include <memory>
#include <string>

std::unique_ptr<PreviewWindow> PreviewOfDocument(const std::string& qxpextractPath, const std::string& documentPath);
