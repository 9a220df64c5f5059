#include "PngOutputFile.h"

#include "OutputFile.h"
#include "PngEncoding.h"

bool WritePngFile(cairo_surface_t* picture, const std::string& outputPath)
{
    const std::optional<std::string> encoded = EncodePng(picture);
    return encoded && WriteOutputFile(*encoded, outputPath);
}
