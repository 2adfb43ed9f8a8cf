// A form's layout as data: the window and each control's row (kind, name,
// holder, caption, bounds, tab order, help number, hint, ...), and the one
// function that gives a form's member controls their designed properties.
#pragma once

#include <span>
#include <string_view>

#include "platform/System.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace bx {

struct TControlLayout {
  std::string_view Name = {};
  TControlKind Kind = TControlKind::Label;
  std::string_view Caption = {};
  // A label's width and height are 0: sized to its caption.
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int TabOrder = -1;     // -1: not a tab stop
  int HelpContext = 0;   // 0: none
  std::string_view Hint = {};
  int Tag = 0;
  std::string_view Glyph = {};  // bitmap resource name; empty: none
  int NumGlyphs = 1;       // states side by side in the glyph
  TCursor Cursor = TCursor::crDefault;
  std::string_view FocusControl = {};  // a label's access key focuses this control
  bool Default = false;           // Enter presses it
  bool Cancel = false;            // Esc presses it
  bool Enabled = true;
  // The panel or group holding it (empty: the form); the row's bounds are
  // in the holder's client pixels.
  std::string_view Parent = {};
  bool WordWrap = false;          // a label's long caption breaks into lines
  TPanelBevel BevelOuter = TPanelBevel::bvRaised;  // a panel's bevel at its edge
  TPanelBevel BevelInner = TPanelBevel::bvNone;    // a panel's inner bevel
  int BorderWidth = 0;            // a panel's band between its bevels
  // A list box's: drawn by the dialog, item height, shown sorted with its
  // first FixedItems items on top.
  bool OwnerDraw = false;
  int ItemHeight = 13;
  bool Sorted = false;
  int FixedItems = 0;
  bool Checked = false;           // a check box's or radio button's first state
  // A list box's background and font colour, as the system's colour
  // numbers (COLOR_*); -1 keeps the control's own.
  int SystemColor = -1;
  int SystemFontColor = -1;
  // A screen reader's name for a control that shows no caption and has no
  // label or hint to take it from; empty: from those.
  std::string_view AccessibleName = {};
};

struct TFormLayout {
  std::string_view Caption = {};
  // Background and font colour as the system's colour numbers (COLOR_*).
  int SystemColor = kColorBtnFace;
  int SystemFontColor = kColorWindowText;
  int ClientWidth = 0, ClientHeight = 0;
  std::string_view FontName = {};
  int FontHeight = 0;
  bool KeyPreview = false;
  TBorderStyle BorderStyle = TBorderStyle::bsDialog;
  bool Centered = true;
  std::string_view Icon = {};  // icon resource name; empty: none
  std::span<const TControlLayout> Controls = {};
};

// The entry for a control name, or null.
const TControlLayout* FindControlLayout(const TFormLayout& layout, std::string_view name);

// Gives the form its window properties (caption, colours, client size,
// font, border, key preview, icon) and each control of the form that has a row its
// designed properties: its holder, its bounds in the holder's client
// pixels, its kind's own properties and a label's focus control. A
// holder's row comes before the rows of what it holds.
void ApplyLayout(const TFormLayout& layout, TForm& form);

}  // namespace bx
