#include "platform/FileNames.h"

#include "platform/Platform.h"

namespace bx {

namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// One code point from UTF-8 at `at`, which moves past it; a byte that
// starts no valid sequence stands for itself, above the code points.
char32_t NextCodePoint(const std::string& text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(at);
  int length = first < 0x80 ? 1 : (first >> 5) == 0x6 ? 2 : (first >> 4) == 0xE ? 3
               : (first >> 3) == 0x1E ? 4 : 0;
  if (length > 1 && at + length <= text.size()) {
    char32_t cp = first & (0x7F >> length);
    bool valid = true;
    for (int i = 1; i < length && valid; ++i) {
      valid = (byte(at + i) & 0xC0) == 0x80;
      cp = (cp << 6) | (byte(at + i) & 0x3F);
    }
    if (valid) {
      at += static_cast<std::size_t>(length);
      return cp;
    }
  }
  ++at;
  return length == 1 ? first : 0x110000 + first;
}

// Upper case of the letters of the Latin, Greek and Cyrillic alphabets.
char32_t FoldCase(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 0x20 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
    return c & ~char32_t{1};
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : c - 1;
  if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? 0x3A3 : c - 0x20;
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

}  // namespace

std::u32string FoldedName(const std::string& text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) out.push_back(FoldCase(NextCodePoint(text, at)));
  return out;
}

bool MatchesFoldedMask(const std::u32string& name, const std::u32string& mask) {
  if (mask == U"*.*" || mask == U"*") return true;
  // Greedy with one step back to the last "*".
  std::size_t n = 0, m = 0, starMask = std::u32string::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == U'?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == U'*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::u32string::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == U'*') ++m;
  return m == mask.size();
}

bool MatchesMask(const std::string& name, const std::string& mask) {
  return MatchesFoldedMask(FoldedName(name), FoldedName(mask));
}

int CompareFileNames(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t x = FoldCase(NextCodePoint(a, i));
    const char32_t y = FoldCase(NextCodePoint(b, j));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::string FileExtension(const std::string& fileName) {
  const std::size_t delimiter = fileName.find_last_of("\\/:");
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (delimiter != std::string::npos && dot < delimiter)) return {};
  return fileName.substr(dot + 1);
}

bool SameFileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

std::string GetWindowsFolder() {
  std::string folder = Platform().Files->GetWindowsDirectory();
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace bx
