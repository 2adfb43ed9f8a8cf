// One binding per kind of control: it creates the control's child window
// at the model's exact pixel bounds, turns the window's notifications into
// model changes (guarded, so a handler's error is reported and never
// escapes), and follows the model's changes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "binding/win32/AccessibleObject.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/WindowBase.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/ListView.h"

namespace bx {

class TFormWindow;

// The object behind a control's window. Windows of the system's classes
// report to it through the form's window (commands, notifications, owner
// draw); windows of classes of ours (picture, spin edit) also bring it
// their messages through WindowMessage.
class TControlBinding : public TWindowBase<TControlBinding> {
 public:
  TControlBinding(TFormWindow& owner, TControl& control);
  TControlBinding(const TControlBinding&) = delete;
  TControlBinding& operator=(const TControlBinding&) = delete;
  virtual ~TControlBinding();

  TControl& Control() const { return FControl; }
  TFormWindow& Owner() const { return FOwner; }
  int Id() const { return FId; }

  // Creates the child window and starts following the model.
  void Create(HWND parent, int id);
  // Stops following the model; the window goes with its parent.
  virtual void Unbind();
  // Brings the window in line with the model.
  void Update();

  // A WM_COMMAND notification from the control's window.
  virtual void Command(UINT code) { (void)code; }
  // A WM_NOTIFY notification from the control's window: true when handled,
  // with the answer in `result`.
  virtual bool Notify(const NMHDR& header, LRESULT& result) {
    (void)header;
    (void)result;
    return false;
  }
  // A message to a window of a class of ours.
  virtual LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultMessage(message, wParam, lParam);
  }
  virtual bool DrawItem(const DRAWITEMSTRUCT& item) { (void)item; return false; }
  virtual bool MeasureItem(MEASUREITEMSTRUCT& item) { (void)item; return false; }
  // Labels, check boxes and radio buttons take the form's colour and font colour.
  virtual bool UsesFormColors() const { return false; }
  // Whether the control can hold the keyboard focus at all.
  virtual bool Focusable() const { return true; }
  // Focusable, visible and enabled, in the model and in the window.
  bool CanFocus() const;
  // The window that takes the keyboard focus for the control.
  virtual HWND FocusWindow() const { return FHandle; }
  // The windows that show the control's hint.
  virtual std::vector<HWND> HintWindows() const { return {FHandle}; }
  // Performs the control's click as the user's click would (Enter, Esc).
  virtual void Click() {}
  // Push buttons: shows whether Enter presses this one.
  virtual void ShowDefault(bool marked) { (void)marked; }
  // The width the window needs to show its caption whole in the font
  // selected into `dc` (box, glyph and frame included); 0 where it shows no
  // caption of one line at a width of the model's.
  virtual int NeededWidth(HDC dc) const { (void)dc; return 0; }
  // The font the window shows its text in: the form's, or a smaller size
  // of its face where the caption would not fit otherwise.
  HFONT Font() const;
  void SetFont(HFONT font);

  // What a screen reader is told of a window of a class of ours: the
  // model's name and value.
  virtual TAccessibleText AccessibleText() const;

 protected:
  virtual HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) = 0;
  // The control's child window of `parent` at `bounds`, its id the command
  // id the form routes to this binding.
  static HWND CreateChild(DWORD exStyle, const wchar_t* windowClass, const wchar_t* text,
                          DWORD style, HWND parent, int id, const RECT& bounds);
  // Kind-specific part of Update.
  virtual void UpdateKind() {}
  // Where the window goes, in the form's client pixels.
  virtual TRect WindowBounds() const { return FControl.BoundsRect(); }
  // Whether the window paints its text; one that does not keeps the
  // model's accessible name in it while the caption is empty, where the
  // platform's accessibility reads a window's name.
  virtual bool ShowsCaption() const { return true; }
  // Keeps the window's text equal to the model's caption (or name, above).
  void SyncCaption();
  // The answer to WM_GETOBJECT for the control's window: the binding is
  // found again by its window for each question (a reader may hold the
  // object after the form went) and tells its AccessibleText.
  static LRESULT AnswerAccessibility(HWND window, WPARAM wParam, LPARAM lParam);
  // A click reaches the model only while the control is enabled and shown,
  // whatever message the window was sent.
  bool Usable() const { return FControl.Enabled() && FControl.Visible(); }
  // Runs a model change as the message loop does.
  void Dispatch(const std::function<void()>& action) const;
  // The width of a caption in the font selected into `dc`, the access
  // key's "&" left out.
  static int CaptionWidth(HDC dc, const std::wstring& caption);

  TFormWindow& FOwner;
  TControl& FControl;
  int FId = 0;

 private:
  TRect FBounds;
  HFONT FFont = nullptr;  // the form window's; null: the form's own
  bool FInUpdate = false;
  bool FUpdatePending = false;
};

std::unique_ptr<TControlBinding> MakeControlBinding(TFormWindow& owner, TControl& control);
// The bindings of each kind (one source file each).
std::unique_ptr<TControlBinding> MakeLabelBinding(TFormWindow& owner, TControl& control);
std::unique_ptr<TControlBinding> MakeButtonBinding(TFormWindow& owner, TControl& control);
std::unique_ptr<TControlBinding> MakeBitBtnBinding(TFormWindow& owner, TControl& control);
std::unique_ptr<TControlBinding> MakeCheckBoxBinding(TFormWindow& owner, TControl& control);
std::unique_ptr<TControlBinding> MakeRadioButtonBinding(TFormWindow& owner, TControl& control);
std::unique_ptr<TControlBinding> MakeListBoxBinding(TFormWindow& owner, TControl& control);
std::unique_ptr<TControlBinding> MakeImageBinding(TFormWindow& owner, TControl& control);
std::unique_ptr<TControlBinding> MakeSpinEditBinding(TFormWindow& owner, TControl& control);
std::unique_ptr<TControlBinding> MakePanelBinding(TFormWindow& owner, TControl& control);
std::unique_ptr<TControlBinding> MakeRadioGroupBinding(TFormWindow& owner, TControl& control);
std::unique_ptr<TControlBinding> MakeListViewBinding(TFormWindow& owner, TControl& control);

// Shift, Ctrl and Alt as the keyboard state has them now.
TShiftState KeyboardShiftState();

}  // namespace bx
