#include "platform/win32/WinLocale.h"

#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"

namespace bx {
namespace {

class TWinLocale : public ILocale {
 public:
  std::string ThousandSeparator() override {
    wchar_t separator[8] = {};  // at most four characters and the terminator
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8)) return ",";
    return Narrow(separator);
  }

  int CompareStrings(const std::string& a, const std::string& b) override {
    return lstrcmpW(Widen(a).c_str(), Widen(b).c_str());
  }
};

}  // namespace

ILocale& WinLocale() {
  static TWinLocale locale;
  return locale;
}

}  // namespace bx
