// The spin edit's window: the window class "TSpinEdit", a multi-line EDIT
// (so that its formatting rectangle can keep the text clear of the
// buttons) that clips its child, the "TSpinButton" window with the up and
// down buttons at its right edge. The logic is the model's (TSpinEdit);
// this only turns keys, characters, focus and mouse into its calls.
#pragma once

#include "binding/win32/ControlBindings.h"
#include "binding/win32/Glyph.h"
#include "components/Spin.h"

namespace bx {

class TSpinEditWindow;

// The window of the up and down buttons; its messages go to the spin edit's binding.
class TSpinButtonWindow : public TWindowBase<TSpinButtonWindow> {
 public:
  explicit TSpinButtonWindow(TSpinEditWindow& edit) : FEdit(edit) {}
  LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
  using TWindowBase::DefaultMessage;

 private:
  TSpinEditWindow& FEdit;
};

class TSpinEditWindow : public TControlBinding {
 public:
  TSpinEditWindow(TFormWindow& owner, TControl& edit);
  ~TSpinEditWindow() override;

  void Unbind() override;
  void Command(UINT code) override;
  std::vector<HWND> HintWindows() const override { return {FHandle, ButtonWindow()}; }
  HWND ButtonWindow() const { return FButtonWindow.Handle(); }
  LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT ButtonMessage(UINT message, WPARAM wParam, LPARAM lParam);
  TAccessibleText AccessibleText() const override;

  // The timer of the buttons' auto-repeat.
  static constexpr UINT_PTR kRepeatTimer = 1;

 protected:
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override;
  void UpdateKind() override;
  // Never lower than the model's minimum height for the form's font.
  TRect WindowBounds() const override;

 private:
  TSpinEdit& Model() const { return static_cast<TSpinEdit&>(FControl); }
  int MinHeight() const;
  // Formatting rectangle and button place for the current size.
  void Layout();
  void PaintButton(HDC dc);
  void PaintPart(HDC dc, const RECT& area, TSpinPart part, const TGlyph& glyph);
  TSpinPart PartAt(int x, int y) const;
  void ArmTimer();
  void SyncText();

  TSpinButtonWindow FButtonWindow{*this};
  TGlyph FUpGlyph, FDownGlyph;
  bool FSettingText = false;
  bool FReleasing = false;
};

}  // namespace bx
