// Placeholder until the portable services land.
#include "ui/Form.h"

namespace bx {
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
