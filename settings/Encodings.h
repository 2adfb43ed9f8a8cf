// Text encodings of stored desktop values, and the Windows folder.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "components/PixelBuffer.h"

namespace bx {

using TPattern = std::array<std::uint8_t, 8>;

// ‘0 128 255’ -> red 0, green 128, blue 255; never fails, bad parts give 0.
TColor RGBStringToColor(const std::string& text);
std::string ColorToRGBString(TColor color);
void PatternStringToBytes(const std::string& text, TPattern& bytes);
// Decimal text as the desktop values store it; throws
// "'%s' is not a valid integer value" for anything else.
std::int32_t StrToInt(const std::string& text);
// The Windows folder with a trailing "\".
std::string GetWindowsFolder();
// Letters a to z upper-cased, every other character kept.
char AsciiUpper(char c);
// File names compared as the system compares them: a to z without regard to
// case, every other character exactly.
bool SameFileName(const std::string& a, const std::string& b);

}  // namespace bx
