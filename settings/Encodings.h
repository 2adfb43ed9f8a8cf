// Text encodings of stored desktop values.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "gfx/Color.h"

namespace bx {

using TPattern = std::array<std::uint8_t, 8>;

// ‘0 128 255’ -> red 0, green 128, blue 255; never fails, bad parts give 0.
TColor RGBStringToColor(const std::string& text);
std::string ColorToRGBString(TColor color);
void PatternStringToBytes(const std::string& text, TPattern& bytes);
// Decimal text as the desktop values store it; throws
// "'%s' is not a valid integer value" for anything else.
std::int32_t StrToInt(const std::string& text);

}  // namespace bx
