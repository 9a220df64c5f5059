// AppKit stand-in over Qt 6 Widgets: everything the product uses, in one include.
#pragma once

#include <Foundation/Foundation.h>

#include "NSAlert.h"
#include "NSButton.h"
#include "NSColor.h"
#include "NSColorWell.h"
#include "NSComboBox.h"
#include "NSImage.h"
#include "NSImageView.h"
#include "NSMatrix.h"
#include "NSNib.h"
#include "NSView.h"
#include "NSWindow.h"
