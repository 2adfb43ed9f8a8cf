#include "resources/BXBGColorOptionLayout.h"

#include <array>

namespace bx {

namespace {

using K = TControlKind;
constexpr TCursor kHand = TCursor::crHandPoint;

// Creation order; a holder before what it holds. Tab orders count within
// each holder: the radio group, X, Y, "Select color", then OK and Cancel of
// the bottom panel.
constexpr std::array kControls{
    TControlLayout{.Name = "PanelClient", .Kind = K::Panel, .Left = 4, .Top = 4, .Width = 281,
                   .Height = 217, .TabOrder = 0, .AccessibleName = "Options"},
    TControlLayout{.Name = "RadioGroupOptions", .Kind = K::RadioGroup,
                   .Caption = " Get color from  ", .Left = 8, .Top = 8, .Width = 137,
                   .Height = 201, .TabOrder = 0, .Parent = "PanelClient"},
    TControlLayout{.Name = "BitBtnBackGroundColor", .Kind = K::BitBtn, .Caption = "Select color",
                   .Left = 152, .Top = 16, .Width = 121, .Height = 25, .TabOrder = 3,
                   .Glyph = "BGCOLOR", .Cursor = kHand, .Enabled = false,
                   .Parent = "PanelClient"},
    TControlLayout{.Name = "LabelInfo", .Kind = K::Label, .Caption = "Select an option",
                   .Left = 152, .Top = 44, .Width = 121, .Height = 117, .Parent = "PanelClient",
                   .WordWrap = true},
    TControlLayout{.Name = "LabelPositionX", .Kind = K::Label, .Caption = "&X", .Left = 208,
                   .Top = 168, .FocusControl = "SpinEditPositionX", .Enabled = false,
                   .Parent = "PanelClient"},
    TControlLayout{.Name = "SpinEditPositionX", .Kind = K::SpinEdit, .Left = 220, .Top = 164,
                   .Width = 53, .Height = 22, .TabOrder = 1, .Enabled = false,
                   .Parent = "PanelClient"},
    TControlLayout{.Name = "LabelPositionY", .Kind = K::Label, .Caption = "&Y", .Left = 208,
                   .Top = 192, .FocusControl = "SpinEditPositionY", .Enabled = false,
                   .Parent = "PanelClient"},
    TControlLayout{.Name = "SpinEditPositionY", .Kind = K::SpinEdit, .Left = 220, .Top = 188,
                   .Width = 53, .Height = 22, .TabOrder = 2, .Enabled = false,
                   .Parent = "PanelClient"},
    TControlLayout{.Name = "PanelBottom", .Kind = K::Panel, .Left = 4, .Top = 224, .Width = 281,
                   .Height = 33, .TabOrder = 1, .BevelOuter = TPanelBevel::bvLowered,
                   .AccessibleName = "Buttons"},
    TControlLayout{.Name = "BitBtnOk", .Kind = K::BitBtn, .Caption = "OK", .Left = 124,
                   .Top = 4, .Width = 75, .Height = 25, .TabOrder = 4, .Glyph = "OK",
                   .NumGlyphs = 2, .Cursor = kHand, .Default = true, .Enabled = false,
                   .Parent = "PanelBottom"},
    TControlLayout{.Name = "BitBtnCancel", .Kind = K::BitBtn, .Caption = "Cancel", .Left = 200,
                   .Top = 4, .Width = 75, .Height = 25, .TabOrder = 5, .Glyph = "CANCEL",
                   .NumGlyphs = 2, .Cursor = kHand, .Cancel = true, .Parent = "PanelBottom"},
};

constexpr TFormLayout kForm{.Caption = "Background color options",
                            .ClientWidth = 289,
                            .ClientHeight = 261,
                            .FontName = "MS Sans Serif",
                            .FontHeight = -11,
                            .BorderStyle = TBorderStyle::bsDialog,
                            .Centered = true,
                            .Controls = kControls};

}  // namespace

const TFormLayout& BXBGColorOptionLayout() { return kForm; }

}  // namespace bx
