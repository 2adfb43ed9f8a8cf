#include "dialogs/about/QSAboutVersion.h"

#include <utility>

namespace bx {

namespace {
TVersionAboutHook& Hook() {
  static TVersionAboutHook hook;
  return hook;
}
}  // namespace

TVersionAboutHook SetVersionAboutHook(TVersionAboutHook hook) {
  return std::exchange(Hook(), std::move(hook));
}

void ShowVersionAbout(TForm* owner, const std::string& fileName,
                      const std::vector<std::string>& extraCaptions, bool english) {
  if (Hook()) Hook()({owner, fileName, extraCaptions, english});
  // The about box itself is not built yet: nothing is shown.
}

}  // namespace bx
