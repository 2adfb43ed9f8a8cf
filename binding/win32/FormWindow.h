// The real window of a form: a dialog window made from an empty in-memory
// template, with a fixed dialog frame, one child window per control (made
// by the control bindings) and the platform's dialog manager for the
// keyboard. Model and window are kept in step both
// ways: a property change of the form or of a control updates the window,
// and the user's input updates the model and raises its events.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/WinApi.h"
#include "platform/win32/WindowBase.h"
#include "ui/Form.h"

namespace bx {

class TControlBinding;

class TFormWindow : public TWindowBase<TFormWindow> {
 public:
  explicit TFormWindow(TForm& form);
  TFormWindow(const TFormWindow&) = delete;
  TFormWindow& operator=(const TFormWindow&) = delete;
  // Unbinds every control and destroys the window.
  ~TFormWindow();

  TForm& Form() const { return FForm; }
  HFONT Font() const { return FFont; }
  HBRUSH Brush() const { return FBrush; }

  // Creates the window and its controls, hidden; does nothing when it exists.
  // Throws "Error creating window" when the system refuses.
  void Create();
  // Shows the window and runs its modal loop until the application is
  // asked to terminate, the form gets a modal result or the window is closed.
  void RunModal();
  bool Running() const { return FRunning; }

  // The keyboard handling for a message taken from the queue: the key
  // preview, then the platform's dialog manager (Tab, Enter, Esc, arrows
  // between radio buttons, access keys). True when the message was consumed.
  bool PreTranslate(MSG& msg);

  TControlBinding* BindingOf(HWND window) const;
  TControlBinding* BindingOf(const TControl& control) const;
  TControlBinding* BindingOf(const std::string& name) const;

  // Keyboard focus moves, in tab order.
  void FocusFirst();
  void FocusNext(bool forward);
  // A push button got the focus (or, with null, lost it): the button Enter
  // presses is marked as the default one.
  void PushButtonFocused(TControlBinding* button);
  // Called by a binding before its focused window is hidden or disabled.
  void FocusLeaving(TControlBinding& binding);
  bool Focus(TControlBinding& binding);

  // Keeps a control's caption whole in the font the platform gave for the
  // form's: the control grows into the free space of its row, and where
  // that is not enough it takes a smaller size of the same face.
  void FitCaption(TControlBinding& binding);

  // Text metrics of the form's font, for bindings that size themselves.
  int FontPixelHeight() const { return FFontHeight; }

  // Ends the modal run and destroys the window once the run has returned.
  void ReleaseWhenDone() { FReleasePending = FClosed = true; }
  bool ReleasePending() const { return FReleasePending; }

  LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void MakeFont();
  void SetIcons();
  void CreateControls();
  void FitCaptions();
  // The window moved to a monitor of another scale: the form, its fonts and
  // its controls follow.
  void Rescale(int pixelsPerInch);
  HFONT SmallerFont(HDC dc, int pixels) const;
  void CreateTooltips();
  void UpdateSystemMenu();
  void SyncFromModel();
  void WriteBoundsToModel();
  std::vector<TControlBinding*> TabOrderList() const;
  void ArrangeForDialogManager();
  TControlBinding* KeyButton(bool cancel) const;
  void FocusNext(bool forward, TControlBinding* current);
  // The control a window belongs to (the window itself or a parent of it).
  TControlBinding* ControlOf(HWND window) const;
  TControlBinding* FocusedBinding() const;

  TForm& FForm;
  HWND FTooltip = nullptr;
  std::wstring FTooltipText;  // the text the tooltip asked for last
  HFONT FFont = nullptr;
  std::vector<HFONT> FSmallerFonts;  // of FitCaptions, by pixel height less one each
  HBRUSH FBrush = nullptr;
  HICON FIconBig = nullptr;
  HICON FIconSmall = nullptr;
  TColor FBrushColor = 0;
  int FFontHeight = 0;
  std::vector<std::unique_ptr<TControlBinding>> FBindings;
  std::map<HWND, TControlBinding*> FByWindow;
  std::map<int, TControlBinding*> FById;
  std::size_t FMenuItemsAdded = 0;
  HWND FLastFocus = nullptr;
  bool FCreated = false;
  bool FRunning = false;
  bool FClosed = false;
  bool FReleasePending = false;
  bool FMenuTrimmed = false;
  TColor FFontColor = 0;
  int FSyncing = 0;
};

// The window of a form, made on first use; the host's Release removes it.
TFormWindow& FormWindowOf(TForm& form);
// Destroys the window of a form, if it has one, and unbinds its controls.
void DestroyFormWindow(TForm& form);
// The form window whose top-level window a message is addressed to, or null.
TFormWindow* FormWindowFromHandle(HWND window);

// For tests: the window of a form without running its modal loop, the
// window of a control by the model's control name, the form's window.
HWND CreateFormWindow(TForm& form);
HWND FormWindowHandle(const TForm& form);
HWND FindControlWindow(const TForm& form, const std::string& controlName);
// Runs a queued message through the keyboard handling of the form window
// it is addressed to, as the modal loop does; true when consumed.
bool PreTranslateFormMessage(MSG& msg);

}  // namespace bx
