// The control models the dialogs are made of. A dialog's logic works only on
// these; binding/win32/ binds each kind onto a real child window, and the
// tests drive them directly. Setting a property from code raises the same
// event as the user's change would.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/PixelBuffer.h"
#include "ui/Canvas.h"

namespace bx {

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject& Sender)>;

// Shift state: keys and mouse buttons held during an input event.
enum : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                  ssDouble = 64 };
using TShiftState = unsigned;
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using TMouseEvent =
    std::function<void(TObject& Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject& Sender, TShiftState Shift, int X, int Y)>;

enum class TControlKind { Label, Button, BitBtn, CheckBox, RadioButton, SpinEdit, ListBox, Image,
                          ListView, Panel, RadioGroup };
enum class TCursor { crDefault, crHandPoint, crCross };

class TForm;

// value * to / from, rounded half away from zero: a length from one number
// of pixels per inch to another.
int ScaledBy(int value, int to, int from);

class TControl : public TObject {
 public:
  // With an owner the control joins that form's controls at once, so that a
  // form's member declaration is all it takes to be one of its controls.
  TControl(TControlKind kind, std::string name, TForm* owner = nullptr);
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  TControlKind Kind() const { return FKind; }
  const std::string& Name() const { return FName; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value) { FHint = value; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int value) { FHelpContext = value; }
  // -1: not a tab stop.
  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int value) { FTabOrder = value; }
  int Tag() const { return FTag; }
  void SetTag(int value) { FTag = value; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value) { FCursor = value; }

  // What a screen reader calls the control: the name it was given, else its
  // caption, else the caption of the label whose access key focuses it,
  // else the short part of its hint; the access-key "&" left out.
  std::string AccessibleName() const;
  void SetAccessibleName(const std::string& value) { FAccessibleName = value; }
  // What a screen reader reads as the control's value (the preview's
  // placement); empty for none.
  const std::string& AccessibleValue() const { return FAccessibleValue; }
  void SetAccessibleValue(const std::string& value);

  // Bounds as the layout rows state them: in the client pixels of the
  // container that holds the control (the form's for one the form holds
  // itself). A width or height of 0 on a label means "sized to its caption".
  TRect LocalBounds() const { return FBounds; }
  void SetBounds(int left, int top, int width, int height);
  // The same bounds in the form's client pixels, where every window of the
  // form is placed: the containers' places added.
  TRect BoundsRect() const;
  TRect FormBoundsRect() const { return BoundsRect(); }
  int Left() const { return BoundsRect().Left; }
  int Top() const { return BoundsRect().Top; }
  int Width() const { return FBounds.Width(); }
  int Height() const { return FBounds.Height(); }

  TForm* Parent() const { return FParent; }
  // The container (panel or radio group) that holds the control; null: the
  // form itself. Tab order and radio-button exclusivity count per container.
  TControl* ParentControl() const { return FParentControl; }
  void SetParentControl(TControl* value);

  // Scales the pixel sizes the kind keeps besides its bounds (TForm::ScaleTo).
  virtual void ScalePixels(int to, int from) { (void)to; (void)from; }

  // Whether the control has the keyboard focus; SetFocus moves it here.
  bool Focused() const;
  void SetFocus();

  // The window binding's observer: told after any visible property changed.
  std::function<void(TControl&)> OnStateChanged;

 protected:
  void Changed() {
    if (OnStateChanged) OnStateChanged(*this);
  }

 private:
  friend class TForm;
  // A container moved: what it holds moved with it on the form.
  void HolderMoved();
  TControlKind FKind;
  std::string FName;
  bool FEnabled = true;
  bool FVisible = true;
  std::string FCaption;
  std::string FHint;
  int FHelpContext = 0;
  int FTabOrder = -1;
  int FTag = 0;
  TCursor FCursor = TCursor::crDefault;
  std::string FAccessibleName;
  std::string FAccessibleValue;
  TRect FBounds;
  TForm* FParent = nullptr;
  TControl* FParentControl = nullptr;
};

class TLabel : public TControl {
 public:
  explicit TLabel(std::string name, TForm* owner = nullptr)
      : TControl(TControlKind::Label, std::move(name), owner) {}
  // The control its access key focuses.
  TControl* FocusControl = nullptr;
  // Long captions break into lines at the label's width.
  bool WordWrap = false;
};

// A container drawn as a flat area with bevels: an outer one at its edge,
// an inner one BorderWidth pixels further in.
enum class TPanelBevel { bvNone, bvLowered, bvRaised };
class TPanel : public TControl {
 public:
  explicit TPanel(std::string name, TForm* owner = nullptr)
      : TControl(TControlKind::Panel, std::move(name), owner) {}
  TPanelBevel BevelOuter = TPanelBevel::bvRaised;
  TPanelBevel BevelInner = TPanelBevel::bvNone;
  int BorderWidth = 0;
  void ScalePixels(int to, int from) override { BorderWidth = ScaledBy(BorderWidth, to, from); }
};

class TButton : public TControl {
 public:
  explicit TButton(std::string name, TForm* owner = nullptr,
                   TControlKind kind = TControlKind::Button)
      : TControl(kind, std::move(name), owner) {}
  // Runs OnClick, as the user's click does.
  void Click() {
    if (OnClick) OnClick(*this);
  }
  TNotifyEvent OnClick;
  bool Default = false;  // Enter presses it
  bool Cancel = false;   // Esc presses it
};

// A button with a glyph: a bitmap resource holding NumGlyphs states side by side.
class TBitBtn : public TButton {
 public:
  explicit TBitBtn(std::string name, TForm* owner = nullptr)
      : TButton(std::move(name), owner, TControlKind::BitBtn) {
    SetCursor(TCursor::crHandPoint);
  }
  std::string Glyph;  // resource name; empty: none
  int NumGlyphs = 1;
};

class TCheckBox : public TControl {
 public:
  explicit TCheckBox(std::string name, TForm* owner = nullptr)
      : TControl(TControlKind::CheckBox, std::move(name), owner) {}
  bool Checked() const { return FChecked; }
  // A change of state runs OnClick.
  void SetChecked(bool value);
  TNotifyEvent OnClick;

 private:
  bool FChecked = false;
};

// Radio buttons of one container and one Group form a group: checking one
// unchecks the others. OnClick runs when the button becomes checked.
class TRadioButton : public TControl {
 public:
  explicit TRadioButton(std::string name, TForm* owner = nullptr)
      : TControl(TControlKind::RadioButton, std::move(name), owner) {}
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  int Group = 0;
  bool SameGroup(const TRadioButton& other) const {
    return ParentControl() == other.ParentControl() && Group == other.Group;
  }
  TNotifyEvent OnClick;

 private:
  bool FChecked = false;
};

// The state of an owner-drawn item.
enum : unsigned { odSelected = 1, odFocused = 2, odDisabled = 4 };
using TOwnerDrawState = unsigned;
using TDrawItemEvent =
    std::function<void(TObject& Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

class TListBox : public TControl {
 public:
  explicit TListBox(std::string name, TForm* owner = nullptr)
      : TControl(TControlKind::ListBox, std::move(name), owner) {}
  const std::vector<std::string>& Items() const { return FItems; }
  void SetItems(std::vector<std::string> items);
  void Clear() { SetItems({}); }
  // -1 selects nothing; an index outside the items selects nothing. Setting
  // it from code does not run OnClick.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int value);
  // The user's selection: sets the index and runs OnClick.
  void Select(int index) {
    SetItemIndex(index);
    if (OnClick) OnClick(*this);
  }
  // Scrolls so that `index` is the top visible item. The request is kept
  // for the window; the user's own scrolling is the window's.
  void SetTopIndex(int index);
  int TopIndex() const { return FTopIndex; }
  unsigned TopIndexRequests() const { return FTopIndexRequests; }

  // Owner drawing: the canvas comes with the list's colours, or the
  // system's highlight colours for a selected item, then OnDrawItem paints
  // the item. The binding draws the focus rectangle afterwards.
  void DrawItem(TCanvas& canvas, int index, const TRect& rect, TOwnerDrawState state);
  // The canvas while an item is drawn, else null.
  TCanvas* Canvas() const { return FCanvas; }

  // A sorted list is shown sorted by the platform's list (the model keeps
  // its own order and indexes); its first FixedItems items stay on top in
  // their order.
  bool Sorted = false;
  int FixedItems = 0;
  bool OwnerDraw = false;
  int ItemHeight = 13;
  void ScalePixels(int to, int from) override { ItemHeight = ScaledBy(ItemHeight, to, from); }
  TColor Color = 0xFFFFFF;      // background
  TColor FontColor = 0;
  // The system's colours (COLOR_* numbers) the two follow; -1: none.
  int SystemColor = -1, SystemFontColor = -1;
  // Reads the followed colours again and tells the binding.
  void SystemColorsChanged();
  TNotifyEvent OnClick;
  TDrawItemEvent OnDrawItem;

 private:
  std::vector<std::string> FItems;
  int FItemIndex = -1;
  int FTopIndex = 0;
  unsigned FTopIndexRequests = 0;
  TCanvas* FCanvas = nullptr;
};

// A picture control. It always shows the whole of Picture scaled to its bounds.
// Pixels made on demand: a picture that is never needed whole at its full
// size is reduced straight from what it is made of.
class IPictureSource {
 public:
  virtual ~IPictureSource() = default;
  // Makes the full-size picture's pixels.
  virtual void Compose(TPixelBuffer& picture) const = 0;
  // The picture reduced into width x height pixels in rows of `width`, as
  // ReducePicture reduces the full-size picture.
  virtual void Reduce(TPixel* target, int width, int height) const = 0;
};

class TImage : public TControl {
 public:
  explicit TImage(std::string name, TForm* owner = nullptr)
      : TControl(TControlKind::Image, std::move(name), owner) {}
  // The full-size picture, made from the source first when it has one; a
  // writable picture is the caller's, and the source is dropped.
  TPixelBuffer& Picture() {
    Made();
    FSource.reset();
    return FPicture;
  }
  const TPixelBuffer& Picture() const {
    Made();
    return FPicture;
  }
  int PictureWidth() const { return FPicture.Width(); }
  int PictureHeight() const { return FPicture.Height(); }
  // The picture's pixels come from `source`, at the picture's present size.
  void SetSource(std::shared_ptr<const IPictureSource> source) {
    FSource = std::move(source);
    FMade = false;
  }
  // Reduces the picture into width x height pixels from its source, without
  // making it whole; false without a source or for an enlargement.
  bool Reduce(TPixel* target, int width, int height) const {
    if (!FSource || width > FPicture.Width() || height > FPicture.Height()) return false;
    FSource->Reduce(target, width, height);
    return true;
  }
  // Tells the binding that the picture's pixels changed.
  void Invalidate() { Changed(); }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
  }
  void MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(*this, shift, x, y);
  }
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;

 private:
  void Made() const {
    if (!FSource || FMade) return;
    FSource->Compose(FPicture);
    FMade = true;
  }
  mutable TPixelBuffer FPicture;
  std::shared_ptr<const IPictureSource> FSource;
  mutable bool FMade = false;
};

// A captioned frame with one radio button per item, one item per row; the
// buttons are controls of the form held by the group (added after it), so
// that the keyboard moves between them as between any radio buttons of one
// container. OnClick runs whenever the selected item changes, by the user or
// by code.
class TRadioGroup : public TControl {
 public:
  explicit TRadioGroup(std::string name, TForm* owner = nullptr);
  const std::vector<std::string>& Items() const { return FItems; }
  // Makes the item buttons inside the group's bounds and adds them to the
  // group's form; call once, after the bounds are set.
  void SetItems(std::vector<std::string> items);
  const std::vector<std::unique_ptr<TRadioButton>>& Buttons() const { return FButtons; }
  // -1: none selected; an index outside the items selects none.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int value);
  TNotifyEvent OnClick;

 private:
  void ButtonChanged(int index);
  std::vector<std::string> FItems;
  std::vector<std::unique_ptr<TRadioButton>> FButtons;
  int FItemIndex = -1;
};

}  // namespace bx
