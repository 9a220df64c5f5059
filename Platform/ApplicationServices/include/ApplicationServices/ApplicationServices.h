// The umbrella the extractor includes: pasteboards, images and their encoders.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <HIServices/HIServices.h>
#include <ImageIO/ImageIO.h>
