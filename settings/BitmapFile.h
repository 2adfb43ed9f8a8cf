// Windows bitmap files (BMP) as the desktop shows them: 24 bits per pixel,
// rows bottom-up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/PixelBuffer.h"

namespace bx {

// The whole file. Throws "Cannot create file %s" with the path when the
// picture is too large for the format's 32-bit sizes.
std::vector<std::uint8_t> EncodeBitmapFile(const TPixelBuffer& bitmap, const std::string& path);
// Writes the file through a temporary file in the same folder, so a failed
// write leaves an existing file as it was. Throws "Cannot create file %s".
void SaveBitmapFile(const TPixelBuffer& bitmap, const std::string& path);

}  // namespace bx
