// The Windows form host: each form is shown in a real window of its own
// (FormWindow), run modally on the calling thread and destroyed on release.
#include "binding/win32/FormWindow.h"

namespace bx {
namespace {

class TWinFormHost : public IFormHost {
 public:
  void ShowModal(TForm& form) override {
    TFormWindow& window = FormWindowOf(form);
    window.RunModal();
    if (window.ReleasePending()) DestroyFormWindow(form);
  }
  void Release(TForm& form) override { DestroyFormWindow(form); }
};

}  // namespace

IFormHost& DefaultFormHost() {
  static TWinFormHost host;
  return host;
}

}  // namespace bx
