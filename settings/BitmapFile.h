// Windows bitmap files (BMP) as the desktop shows them: 24 bits per pixel,
// rows bottom-up.
#pragma once

#include <cstdint>
#include <functional>
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

// A picture handed over row by row: calls put(y, row) for each row from the
// top, `width` pixels each.
using TBitmapRows =
    std::function<void(const std::function<void(int y, const TPixel* row)>& put)>;
// The file of a width x height picture made from its rows as they come,
// without a bitmap of its size: what the conversion of a large photo holds
// is the file alone.
std::vector<std::uint8_t> EncodeBitmapFile(int width, int height, const TBitmapRows& rows,
                                           const std::string& path);
void SaveBitmapFile(int width, int height, const TBitmapRows& rows, const std::string& path);

}  // namespace bx
