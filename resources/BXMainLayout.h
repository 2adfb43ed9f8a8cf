// The main dialog's layout as data: the window and every control with its
// kind, caption, bounds in client pixels, tab order, help number, hint, tag,
// glyph and cursor, in creation order. The dialog applies it to its member
// controls; the window binding then creates the real windows from those.
#pragma once

#include <span>
#include <string_view>

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
};

struct TFormLayout {
  std::string_view Caption = {};
  int ClientWidth = 0, ClientHeight = 0;
  std::string_view FontName = {};
  int FontHeight = 0;
  bool KeyPreview = false;
  TBorderStyle BorderStyle = TBorderStyle::bsDialog;
  bool Centered = true;
  std::string_view Icon = {};  // icon resource name; empty: none
  std::span<const TControlLayout> Controls = {};
};

const TFormLayout& BXMainLayout();

// The entry for a control name, or null.
const TControlLayout* FindControlLayout(const TFormLayout& layout, std::string_view name);

// Sets a control's designed properties from its entry (all but a label's
// focus control, which may be created after the label).
void ApplyControlLayout(const TControlLayout& entry, TControl& control);
// Points each label at its focus control, once the form holds all controls.
void LinkFocusControls(const TFormLayout& layout, TForm& form);
// Caption, client size, font, border, key preview, icon.
void ApplyFormLayout(const TFormLayout& layout, TForm& form);

}  // namespace bx
