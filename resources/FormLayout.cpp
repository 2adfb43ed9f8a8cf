#include "resources/FormLayout.h"

namespace bx {

namespace {

void ApplyFormProperties(const TFormLayout& layout, TForm& form) {
  form.SetCaption(std::string(layout.Caption));
  form.SetSystemColors(layout.SystemColor, layout.SystemFontColor);
  form.SetBorderStyle(layout.BorderStyle);
  form.SetClientSize(layout.ClientWidth, layout.ClientHeight);
  form.FontName = std::string(layout.FontName);
  form.FontHeight = layout.FontHeight;
  form.KeyPreview = layout.KeyPreview;
  form.Centered = layout.Centered;
  form.Icon = std::string(layout.Icon);
}

void ApplyControlProperties(const TControlLayout& entry, TControl& control) {
  control.SetCaption(std::string(entry.Caption));
  control.SetTabOrder(entry.TabOrder);
  control.SetHelpContext(entry.HelpContext);
  control.SetHint(std::string(entry.Hint));
  control.SetTag(entry.Tag);
  control.SetCursor(entry.Cursor);
  control.SetEnabled(entry.Enabled);
  control.SetAccessibleName(std::string(entry.AccessibleName));
  if (auto* button = dynamic_cast<TButton*>(&control)) {
    button->Default = entry.Default;
    button->Cancel = entry.Cancel;
  }
  if (auto* glyphButton = dynamic_cast<TBitBtn*>(&control)) {
    glyphButton->Glyph = std::string(entry.Glyph);
    glyphButton->NumGlyphs = entry.NumGlyphs;
  }
  if (auto* label = dynamic_cast<TLabel*>(&control)) label->WordWrap = entry.WordWrap;
  if (auto* panel = dynamic_cast<TPanel*>(&control)) {
    panel->BevelOuter = entry.BevelOuter;
    panel->BevelInner = entry.BevelInner;
    panel->BorderWidth = entry.BorderWidth;
  }
  if (auto* list = dynamic_cast<TListBox*>(&control)) {
    list->OwnerDraw = entry.OwnerDraw;
    list->ItemHeight = entry.ItemHeight;
    list->Sorted = entry.Sorted;
    list->FixedItems = entry.FixedItems;
    list->SystemColor = entry.SystemColor;
    list->SystemFontColor = entry.SystemFontColor;
    list->SystemColorsChanged();
  }
  // Set before any handler listens, so that it is no user's change.
  if (entry.Checked) {
    if (auto* check = dynamic_cast<TCheckBox*>(&control)) check->SetChecked(true);
    if (auto* radio = dynamic_cast<TRadioButton*>(&control)) radio->SetChecked(true);
  }
}

}  // namespace

const TControlLayout* FindControlLayout(const TFormLayout& layout, std::string_view name) {
  for (const TControlLayout& entry : layout.Controls)
    if (entry.Name == name) return &entry;
  return nullptr;
}

void ApplyLayout(const TFormLayout& layout, TForm& form) {
  ApplyFormProperties(layout, form);
  for (const TControlLayout& entry : layout.Controls) {
    TControl* control = form.FindControl(std::string(entry.Name));
    if (!control) continue;
    ApplyControlProperties(entry, *control);
    control->SetParentControl(entry.Parent.empty() ? nullptr
                                                   : form.FindControl(std::string(entry.Parent)));
    control->SetBounds(entry.Left, entry.Top, entry.Width, entry.Height);
    if (auto* label = dynamic_cast<TLabel*>(control); label && !entry.FocusControl.empty())
      label->FocusControl = form.FindControl(std::string(entry.FocusControl));
  }
}

}  // namespace bx
