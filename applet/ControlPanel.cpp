#include "applet/ControlPanel.h"

#include <exception>
#include <optional>

#include "platform/Platform.h"

namespace bx {

std::unique_ptr<TAppletList> Applets;
std::uintptr_t ControlPanelWindow = 0;

namespace {

// True while a dialog runs: the Control Panel's thread is inside CPlApplet
// then, and a message its window receives meanwhile must not open a second one.
bool gDialogRunning = false;

// Holds the guard from before the dialog is made until it is gone; the
// dialog's window goes before the dialog, whichever way the run ends.
class TDialogRun {
 public:
  TDialogRun() { gDialogRunning = true; }
  ~TDialogRun() {
    FRun.reset();
    FForm.reset();
    gDialogRunning = false;
  }
  TDialogRun(const TDialogRun&) = delete;
  TDialogRun& operator=(const TDialogRun&) = delete;
  void SetForm(std::unique_ptr<TForm> form) {
    FForm = std::move(form);
    if (FForm) FRun.emplace(*FForm);
  }
  TForm* Form() { return FForm.get(); }
  void ShowModal() { FRun->ShowModal(); }

 private:
  std::unique_ptr<TForm> FForm;
  std::optional<TModalRun> FRun;
};

void OpenApplet(const TControlApplet& applet) {
  if (gDialogRunning || !applet.FormClass) return;
  // What the run needs is taken now: a message arriving during the modal
  // run may release the records.
  const TFormClass formClass = applet.FormClass;
  const std::string name = applet.Name;
  // OK and Cancel of an earlier opening leave the end request standing;
  // this opening must run until its own dialog ends.
  Application().ClearTerminate();
  // The guard stands while the dialog is made: an error box of its creation
  // runs a message loop, and a double click then must not open a second one.
  TDialogRun run;
  run.SetForm(formClass(ControlPanelWindow));
  TForm* form = run.Form();
  if (!form) return;
  form->SetCaption(name);
  run.ShowModal();
}

}  // namespace

std::unique_ptr<TControlApplet> TControlApplet::Create(TFormClass formClass) {
  auto applet = std::make_unique<TControlApplet>();
  applet->FormClass = std::move(formClass);
  return applet;
}

TControlApplet& TControlApplet::Register(std::unique_ptr<TControlApplet> applet) {
  if (!Applets) Applets = std::make_unique<TAppletList>();
  Applets->push_back(std::move(applet));
  return *Applets->back();
}

TControlApplet* GetApplet(std::intptr_t Index) {
  if (!Applets || Index < 0 || static_cast<std::size_t>(Index) >= Applets->size()) return nullptr;
  return (*Applets)[static_cast<std::size_t>(Index)].get();
}

void RegisterApplets(std::uintptr_t icon, TFormClass formClass) {
  Applets = std::make_unique<TAppletList>();
  ControlPanelWindow = 0;
  auto applet = TControlApplet::Create(std::move(formClass));
  applet->Name = "Bexora";
  Application().Title = applet->Name;
  applet->Description = "Change windows wallpaper settings";
  applet->Icon = icon;
  TControlApplet::Register(std::move(applet));
}

long ControlPanelMessage(std::uintptr_t hwndCPl, unsigned uMsg, std::intptr_t lParam1,
                         TCplDescription* newInquire) {
  switch (uMsg) {
    case kCplInit:
      ControlPanelWindow = hwndCPl;
      return 1;
    case kCplGetCount:
      return Applets ? static_cast<long>(Applets->size()) : 0;
    case kCplSelect:
      if (Platform().System) Platform().System->Beep(440, 100);
      return 0;
    case kCplDblClk:
      if (TControlApplet* applet = GetApplet(lParam1)) {
        try {
          OpenApplet(*applet);
        } catch (const std::exception& error) {
          Application().ShowException(error);
        }
      }
      return 0;
    case kCplExit:
      if (Applets) {
        while (!Applets->empty()) Applets->erase(Applets->begin());
        Applets.reset();
      }
      return 0;
    case kCplNewInquire:
      if (TControlApplet* applet = GetApplet(lParam1); applet && newInquire) {
        newInquire->Described = true;
        newInquire->Icon = applet->Icon;
        newInquire->Name = applet->Name;
        newInquire->Info = applet->Description;
      }
      return 0;
    default:
      // CPL_INQUIRE leaves its record as it is: the record asks for resource
      // numbers, and the applet's texts and icon are not resources.
      // CPL_STOP and every other message need nothing either.
      return 0;
  }
}

}  // namespace bx
