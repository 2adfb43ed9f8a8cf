#include "components/VersionReader.h"

#include "platform/Errors.h"
#include "platform/Platform.h"
#include "platform/Utf16.h"

namespace bx {

namespace {

// Offsets into the block; the fixed information and the headers in between
// are not read.
constexpr std::size_t kRootKey = 6;
constexpr std::size_t kRootKeyBytes = 32;
constexpr std::size_t kStringFileInfoKey = 98;
constexpr std::size_t kStringFileInfoKeyBytes = 30;
constexpr std::size_t kFirstTableLength = 128;
constexpr std::size_t kFirstEntry = 152;

std::size_t Align4(std::size_t value) { return (value + 3) & ~std::size_t{3}; }

std::uint16_t Word(std::span<const std::uint8_t> data, std::size_t at) {
  return static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
}

// UTF-16 text from `from` up to its terminating zero or to `limit`,
// whichever comes first; `units` counts the code units read.
std::u16string Text(std::span<const std::uint8_t> data, std::size_t from, std::size_t limit,
                    std::size_t& units) {
  std::u16string text;
  if (limit > data.size()) limit = data.size();
  for (std::size_t at = from; at + 2 <= limit; at += 2) {
    const char16_t c = static_cast<char16_t>(Word(data, at));
    if (c == 0) break;
    text += c;
  }
  units = text.size();
  return text;
}

bool KeyReads(std::span<const std::uint8_t> data, std::size_t at, std::size_t bytes,
              const std::u16string& expected) {
  std::size_t units;
  const std::u16string key = Text(data, at, at + bytes, units);
  // The terminator must be inside the field too.
  return key == expected && at + 2 * (units + 1) <= data.size();
}

}  // namespace

int AlignDWord(int value) { return (value + 3) & ~3; }

void ParseStringFileInfo(std::span<const std::uint8_t> data, std::vector<std::string>& lines) {
  if (!KeyReads(data, kStringFileInfoKey, kStringFileInfoKeyBytes, u"StringFileInfo"))
    throw Exception("Unrecognised version block");
  lines.clear();
  if (data.size() < kFirstTableLength + 2) return;
  const std::size_t end = kFirstTableLength + Word(data, kFirstTableLength);
  std::size_t p = kFirstEntry;
  while (p < end && p + 6 < data.size()) {
    const std::size_t n = Word(data, p);
    if (n == 0) break;
    std::size_t k, valueUnits;
    // A key without its terminator ends with its entry, not with the block.
    std::string key = Utf16ToUtf8(Text(data, p + 6, p + n, k));
    for (char& c : key)
      if (c == '=') c = '_';
    const std::size_t valueAt = Align4(p + 6 + 2 * (k + 1));
    const std::string value =
        valueAt >= p + n ? std::string() : Utf16ToUtf8(Text(data, valueAt, p + n, valueUnits));
    lines.push_back(key + "=" + value);
    p = Align4(p + n);
  }
}

std::vector<std::string> GetVersionStrings(const std::string& fileName) {
  std::vector<std::string> lines;
  IVersionResources* resources = Platform().VersionResources;
  std::vector<std::uint8_t> data;
  if (fileName.empty() || !resources || !resources->ReadVersionResource(fileName, data))
    return lines;
  if (!KeyReads(data, kRootKey, kRootKeyBytes, u"VS_VERSION_INFO")) return lines;
  ParseStringFileInfo(data, lines);
  return lines;
}

}  // namespace bx
