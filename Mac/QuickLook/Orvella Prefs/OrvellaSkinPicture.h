// Each skin's picture: "<title>.png" in the pane bundle's own Resources folder.
#pragma once

#include <AppKit/AppKit.h>

#include <memory>

// nil when the pane's bundle is not loaded or the picture is missing or unreadable.
std::unique_ptr<NSImage> OrvellaSkinPicture(const NSString& title);
