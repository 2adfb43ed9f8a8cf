// A dialog form: its controls, window properties and the hooks the window
// binding calls. The form never sees a window handle; the binding creates
// the real window from it and keeps the two in step.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace bx {

enum class TBorderStyle { bsDialog, bsNone };

struct TSystemMenuItem {
  unsigned Id;
  std::string Text;
};

// Virtual-key codes the dialogs look at.
constexpr int kVkReturn = 0x0D;
constexpr int kVkEscape = 0x1B;
constexpr int kVkUp = 0x26;
constexpr int kVkDown = 0x28;
constexpr int kVkF1 = 0x70;

// How a secondary dialog's modal run ended.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TForm : public TObject {
 public:
  TForm() = default;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;
  ~TForm() override;

  // Controls in creation order; the form does not own them (they are
  // members of the concrete form).
  const std::vector<TControl*>& Controls() const { return FControls; }
  void AddControl(TControl& control);
  TControl* FindControl(const std::string& name) const;
  // The controls in the order Tab visits them: per container by tab order
  // (creation order among equals), each container followed by what it holds.
  // Controls without a tab order are left out, and so is what they hold.
  std::vector<TControl*> TabOrderList() const;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);

  // Outer bounds of the window on the screen.
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetBounds(int left, int top, int width, int height);
  int ClientWidth() const { return FClientWidth; }
  int ClientHeight() const { return FClientHeight; }
  void SetClientSize(int width, int height);
  // Frame size added to the client area by the dialog border; the binding
  // corrects it to what the window manager really draws.
  int FrameWidth = 8;
  int FrameHeight = 27;

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  // Background and font colour (COLORREF). A colour set is the form's own;
  // SetSystemColors makes both follow colours of the system's (COLOR_*
  // numbers, -1 for none), also when the system's change.
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor value);
  void SetSystemColors(int color, int fontColor);
  // The system's colours changed (a high-contrast theme came or went): the
  // form's and its lists' colours that follow them are read again.
  void SystemColorsChanged();
  std::string FontName = "MS Sans Serif";
  int FontHeight = -11;
  // The pixels per inch the form's pixels are at: the layouts are made at
  // 96, and the binding scales a form to its window's (ScaleTo).
  int PixelsPerInch() const { return FPixelsPerInch; }
  // Scales the client size, the font and every control's bounds (and the
  // pixel sizes a kind keeps: a list's item height, a panel's border) from
  // the present pixels per inch to `pixelsPerInch`.
  void ScaleTo(int pixelsPerInch);
  // A length of the layout's, at 96 pixels per inch, in the form's pixels.
  int Scaled(int designPixels) const;
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value);
  bool KeyPreview = false;
  bool Centered = true;  // centred on the desktop (or on OwnerForm) when shown
  // The form this one is a secondary dialog of: its window owns this one's,
  // and a centred form is centred on it.
  TForm* OwnerForm = nullptr;
  // The icon resource the title bar and the task switcher show; none when empty.
  std::string Icon;
  // Setting it ends the form's modal run (a secondary dialog's OK and
  // Cancel); ShowModal starts with mrNone, the close box gives mrCancel.
  int ModalResult = mrNone;

  // The control that has the keyboard focus (null: none); setting it moves
  // the focus there.
  TControl* ActiveControl() const;
  void SetActiveControl(TControl* control);
  // The window binding's link to the real keyboard focus.
  std::function<TControl*()> OnGetActiveControl;
  std::function<void(TControl*)> OnSetActiveControl;

  // Items the form adds to its window's system menu, after the system's own.
  const std::vector<TSystemMenuItem>& SystemMenuItems() const { return FSystemMenu; }
  void AppendSystemMenu(unsigned id, const std::string& text);

  // The owner window (the Control Panel's), 0 for none.
  std::uintptr_t ParentWindow = 0;
  // The form's own window while the binding has made one, else 0; common
  // dialogs opened by the form are owned by it.
  std::uintptr_t Handle = 0;

  // Hooks called by the binding (and the tests) for window events.
  // Each reports an error of its handler through ReportError.
  virtual void KeyDown(int& key, TShiftState shift) { (void)key; (void)shift; }
  virtual void SysCommand(unsigned id) { (void)id; }
  // Help requests: true when handled; callHelp tells whether to call the help system.
  virtual bool Help(std::uint16_t command, std::int32_t data, bool& callHelp) {
    (void)command; (void)data; callHelp = true; return false;
  }
  // The close box, Alt+F4 or the system menu's Close.
  virtual void CloseQuery() {}

  // Runs an event handler the way the message loop does: an error is shown
  // in a message box with its text and the form stays as the handler left it.
  void Dispatch(const std::function<void()>& handler);
  void ReportError(const std::exception& error);

  // The binding's observer: told after a form property changed.
  std::function<void(TForm&)> OnStateChanged;

 protected:
  void Changed() {
    if (OnStateChanged) OnStateChanged(*this);
  }

 private:
  std::vector<TControl*> FControls;
  std::string FCaption;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  int FClientWidth = 0, FClientHeight = 0;
  TBorderStyle FBorderStyle = TBorderStyle::bsDialog;
  TColor FColor = 0;
  TColor FFontColor = 0;
  int FSystemColor = -1, FSystemFontColor = -1;
  int FPixelsPerInch = 96;
  bool FShowHint = false;
  std::vector<TSystemMenuItem> FSystemMenu;
  TControl* FActiveControl = nullptr;
};

// Module-wide application state.
class TApplication {
 public:
  // The request to end the modal run of the dialog (OK, Cancel, Yes to All).
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  // A new dialog starts without the request an earlier one left standing.
  void ClearTerminate() { FTerminated = false; }
  // The module-wide hint switch.
  bool ShowHint = false;
  // The program's title, shown after a secondary dialog's own title word.
  std::string Title;
  // The error report of every dialog: a message box with the error's text.
  // An error of the report itself goes nowhere.
  void ShowException(const std::exception& error);

 private:
  bool FTerminated = false;
};
TApplication& Application();

// Shows forms as real windows. The Windows build binds the form to a window
// and runs its modal loop; the portable one only records the calls.
class IFormHost {
 public:
  virtual ~IFormHost() = default;
  // Returns when the modal run ends (Application().Terminated(), a modal
  // result or the close box).
  virtual void ShowModal(TForm& form) = 0;
  // Releases the window of a form that is being destroyed.
  virtual void Release(TForm& form) = 0;
};
// The host in use; the build's own (DefaultFormHost) unless a test set another.
IFormHost& FormHost();
IFormHost* SetFormHost(IFormHost* host);
IFormHost& DefaultFormHost();

// A form's modal run: the host releases the form's window when the run
// goes, whichever way its scope ends, before the form itself goes. An
// error of the release goes nowhere: the form is discarded all the same.
class TModalRun {
 public:
  explicit TModalRun(TForm& form) : FForm(form) {}
  ~TModalRun();
  TModalRun(const TModalRun&) = delete;
  TModalRun& operator=(const TModalRun&) = delete;
  // Returns when the run ends (IFormHost::ShowModal).
  void ShowModal() { FormHost().ShowModal(FForm); }

 private:
  TForm& FForm;
};

}  // namespace bx
