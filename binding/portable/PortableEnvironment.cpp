#include <algorithm>

#include "binding/portable/PortableEnvironment.h"

namespace bx {

void TRecordingFormHost::ShowModal(TForm& form) {
  Calls.push_back({TFormHostCall::ShowModal, &form});
  if (OnShowModal) OnShowModal(form);
}

void TRecordingFormHost::Release(TForm& form) { Calls.push_back({TFormHostCall::Release, &form}); }

int TRecordingFormHost::ShowModalCount() const {
  return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [](const TFormHostCall& c) {
    return c.Kind == TFormHostCall::ShowModal;
  }));
}

IFormHost& DefaultFormHost() {
  static TRecordingFormHost host;
  return host;
}

TPortableEnvironment::TPortableEnvironment()
    : FPreviousPlatform(SetPlatform(FServices.AsPlatform())),
      FPreviousFormHost(SetFormHost(&FFormHost)) {}

TPortableEnvironment::~TPortableEnvironment() {
  SetFormHost(FPreviousFormHost);
  SetPlatform(FPreviousPlatform);
}

}  // namespace bx
