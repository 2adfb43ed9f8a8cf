// The about box's text table: one text per role, in Danish (the box's own
// language) or in English.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace bx {

enum TAboutText : std::size_t {
  atTitle,
  atVersionLabel,
  atProductLabel,
  atDescriptionLabel,
  atVersionButton,
  atMemoryButton,
  atOkButton,
  atResourceColumn,
  atValueColumn,
  atMemoryColumn,
  atBytesColumn,
  atNotAvailable,
  atComments,
  atCompanyName,
  atInternalName,
  atLegalCopyright,
  atLegalTrademarks,
  atOriginalFilename,
  atProductVersion,
  atTotalPhysical,
  atAvailablePhysical,
  atTotalPageFile,
  atAvailablePageFile,
  atTotalVirtual,
  atAvailableVirtual,
  atTextCount
};

using TAboutTexts = std::array<std::string, atTextCount>;

// UTF-8, as every text of the logic.
TAboutTexts DanishAboutTexts();
TAboutTexts EnglishAboutTexts();

// The role of a version key that has a caption of its own (Comments,
// CompanyName, ...); atTextCount for any other key. Exact comparison.
TAboutText VersionKeyText(const std::string& key);

// A whole number with the separator between groups of three digits.
std::string FormatWholeNumber(std::uint64_t value, const std::string& thousandSeparator);

}  // namespace bx
