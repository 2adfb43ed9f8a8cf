// The about box's entry: shows a module's version information and the
// machine's memory figures, modally, owned by the calling dialog.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Form.h"

namespace bx {

void ShowVersionAbout(TForm* owner, const std::string& fileName,
                      const std::vector<std::string>& extraCaptions, bool english);

// One request to show the about box, as the tests observe it.
struct TVersionAboutRequest {
  TForm* Owner = nullptr;
  std::string FileName;
  std::vector<std::string> ExtraCaptions;
  bool English = false;
};
using TVersionAboutHook = std::function<void(const TVersionAboutRequest&)>;
// Installs an observer of ShowVersionAbout (empty: none) and returns the previous one.
TVersionAboutHook SetVersionAboutHook(TVersionAboutHook hook);

}  // namespace bx
