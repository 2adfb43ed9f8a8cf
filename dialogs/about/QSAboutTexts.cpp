#include "dialogs/about/QSAboutTexts.h"

#include <string_view>

namespace bx {

namespace {

// The Danish texts are kept in Windows-1252, the code page they were
// written in ("æ" is 0xE6), and turned into UTF-8 when the table is made.
constexpr std::array<std::string_view, atTextCount> kDanish1252{
    "Om", "Version", "Produkt navn", "Beskrivelse", "&Version", "&Hukommelse", "Ok",
    "Ressource", "V\xE6rdi", "Hukommelse", "Bytes", "Ikke tilg\xE6ngelig",
    "Kommentarer", "Firma navn", "Internt navn", "Kopirettigheder", "Trade rettigheder",
    "Originalt filnavn", "Produkt version",
    "Fysisk total", "Fysisk ledig", "Sidefil total", "Sidefil ledig", "Virtuel total",
    "Virtuel ledig"};

constexpr std::array<std::string_view, atTextCount> kEnglish{
    "About", "Version", "Product name", "Description", "&Version", "&Memory", "Ok",
    "Resource", "Value", "Memory", "Bytes", "Not available",
    "Comments", "Company name", "Internal name", "Copyrights", "Legal trademarks",
    "Original filename", "Product version",
    "Total physical", "Available physical", "Total pagefile", "Available pagefile",
    "Total virtual", "Available virtual"};

// Windows-1252's 0x80..0x9F, where it differs from Latin-1 (0 = unassigned).
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
    0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    char32_t u = byte;
    if (byte >= 0x80 && byte < 0xA0) u = kHigh1252[byte - 0x80] ? kHigh1252[byte - 0x80] : 0xFFFD;
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

}  // namespace

TAboutTexts DanishAboutTexts() {
  TAboutTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = Cp1252ToUtf8(kDanish1252[i]);
  return texts;
}

TAboutTexts EnglishAboutTexts() {
  TAboutTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = std::string(kEnglish[i]);
  return texts;
}

TAboutText VersionKeyText(const std::string& key) {
  static const std::pair<std::string_view, TAboutText> kKeys[] = {
      {"Comments", atComments},         {"CompanyName", atCompanyName},
      {"InternalName", atInternalName}, {"LegalCopyright", atLegalCopyright},
      {"LegalTrademarks", atLegalTrademarks}, {"OriginalFilename", atOriginalFilename},
      {"ProductVersion", atProductVersion}};
  for (const auto& [name, role] : kKeys)
    if (key == name) return role;
  return atTextCount;
}

std::string FormatWholeNumber(std::uint64_t value, const std::string& thousandSeparator) {
  const std::string digits = std::to_string(value);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += thousandSeparator;
    out += digits[i];
  }
  return out;
}

}  // namespace bx
