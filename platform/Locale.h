// The user's conventions for showing figures and ordering text.
#pragma once

#include <string>

namespace bx {

class ILocale {
 public:
  virtual ~ILocale() = default;
  // The separator between groups of three digits ("," "." " " ...).
  virtual std::string ThousandSeparator() = 0;
  // The platform's text order (lstrcmp): negative, 0 or positive.
  virtual int CompareStrings(const std::string& a, const std::string& b) = 0;
};

}  // namespace bx
