#include "settings/Encodings.h"

#include <limits>

#include "platform/Errors.h"
#include "platform/Platform.h"

namespace bx {

namespace {

// Decimal text without throwing; false for anything StrToInt rejects.
bool TryStrToInt(const std::string& text, std::int32_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1)
      return false;
  }
  std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > std::numeric_limits<std::int32_t>::max()) return false;
  value = static_cast<std::int32_t>(signedValue);
  return true;
}

// Cuts the text before the first blank off `rest`, with the blank; the
// whole rest when there is none and `wholeWhenNoBlank` is set, else "".
std::string NextPart(std::string& rest, bool wholeWhenNoBlank) {
  std::size_t blank = rest.find(' ');
  if (blank == std::string::npos) return wholeWhenNoBlank ? rest : std::string();
  std::string part = rest.substr(0, blank);
  rest.erase(0, blank + 1);
  return part;
}

}  // namespace

std::int32_t StrToInt(const std::string& text) {
  std::int32_t value = 0;
  if (!TryStrToInt(text, value))
    throw Exception(FormatText("'%s' is not a valid integer value", text));
  return value;
}

TColor RGBStringToColor(const std::string& text) {
  std::uint8_t parts[3] = {0, 0, 0};
  std::string rest = text;
  for (int i = 0; i < 3; ++i) {
    // Red and green end at a blank; blue is the whole rest.
    std::string part = i < 2 ? NextPart(rest, false) : rest;
    std::int32_t value;
    if (!TryStrToInt(part, value)) break;
    parts[i] = static_cast<std::uint8_t>(value & 0xFF);
  }
  return MakeColor(parts[0], parts[1], parts[2]);
}

std::string ColorToRGBString(TColor color) {
  return std::to_string(ColorRed(color)) + " " + std::to_string(ColorGreen(color)) + " " +
         std::to_string(ColorBlue(color));
}

void PatternStringToBytes(const std::string& text, TPattern& bytes) {
  bytes.fill(0);
  std::string rest = text;
  for (auto& byte : bytes) {
    // Without a blank the last number stays and fills every following row.
    std::int32_t value;
    if (!TryStrToInt(NextPart(rest, true), value)) return;
    byte = static_cast<std::uint8_t>(value & 0xFF);
  }
}

std::string GetWindowsFolder() {
  std::string folder = Platform().Files->GetWindowsDirectory();
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameFileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

}  // namespace bx
