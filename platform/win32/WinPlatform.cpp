// Placeholder until the Windows services land.
#include "platform/Platform.h"
#include "ui/Form.h"

namespace bx {
TPlatform DefaultPlatform() { return {}; }
namespace {
class TNoFormHost : public IFormHost {
 public:
  void ShowModal(TForm&) override {}
  void Release(TForm&) override {}
};
}  // namespace
IFormHost& DefaultFormHost() {
  static TNoFormHost host;
  return host;
}
}  // namespace bx
