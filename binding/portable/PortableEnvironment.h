// The tests' environment: the portable services and a form host that
// records what the dialogs ask of their windows, installed together.
#pragma once

#include <functional>
#include <vector>

#include "platform/portable/PortablePlatform.h"
#include "ui/Form.h"

namespace bx {

struct TFormHostCall {
  enum TKind { ShowModal, Release } Kind;
  TForm* Form;
};

// Records ShowModal and Release; OnShowModal runs while the form "runs".
class TRecordingFormHost : public IFormHost {
 public:
  void ShowModal(TForm& form) override;
  void Release(TForm& form) override;
  int ShowModalCount() const;

  std::function<void(TForm&)> OnShowModal;
  std::vector<TFormHostCall> Calls;
};

// A fresh set installed with SetPlatform and SetFormHost for the object's
// lifetime; the previous ones come back when it goes.
class TPortableEnvironment {
 public:
  TPortableEnvironment();
  ~TPortableEnvironment();
  TPortableEnvironment(const TPortableEnvironment&) = delete;
  TPortableEnvironment& operator=(const TPortableEnvironment&) = delete;

  TMemoryRegistry& Registry() { return FServices.Registry; }
  TPortableFiles& Files() { return FServices.Files; }
  TRecordingSystem& System() { return FServices.System; }
  TScriptedMessageBoxes& MessageBoxes() { return FServices.MessageBoxes; }
  TRecordingFormHost& FormHost() { return FFormHost; }
  TManualDispatch& Dispatch() { return FServices.Dispatch; }
  TInotifyChangeNotification& ChangeNotification() { return FServices.ChangeNotification; }
  TScriptedDialogs& Dialogs() { return FServices.Dialogs; }
  TPortableVersionResources& VersionResources() { return FServices.VersionResources; }
  TRecordingMemoryStatus& MemoryStatus() { return FServices.MemoryStatus; }
  TScriptedModules& Modules() { return FServices.Modules; }
  TPortableLocale& Locale() { return FServices.Locale; }

 private:
  TPortableServices FServices;
  TRecordingFormHost FFormHost;
  TPlatform FPreviousPlatform;
  IFormHost* FPreviousFormHost = nullptr;
};

}  // namespace bx
