#include "resources/QSAboutVersionLayout.h"

#include <array>

namespace bx {

namespace {

using K = TControlKind;
constexpr TCursor kHand = TCursor::crHandPoint;

constexpr TControlLayout Panel(std::string_view name, std::string_view parent, int left, int top,
                               int width, int height, int tabOrder, std::string_view reads) {
  return {.Name = name, .Kind = K::Panel, .Left = left, .Top = top, .Width = width,
          .Height = height, .TabOrder = tabOrder, .Parent = parent,
          .BevelInner = TPanelBevel::bvLowered, .BorderWidth = 3, .AccessibleName = reads};
}

constexpr TControlLayout Label(std::string_view name, int left, int top) {
  return {.Name = name, .Kind = K::Label, .Left = left, .Top = top, .Parent = "PanelInfo"};
}

// Creation order: each panel before what it holds. The texts come from the
// text table.
constexpr std::array kControls{
    Panel("PanelMain", {}, 0, 0, 313, 325, 0, "About"),
    Panel("PanelInfo", "PanelMain", 8, 8, 297, 101, 0, "Product"),
    Label("LabelVersionTxt", 12, 12),
    Label("LabelVersion", 100, 12),
    Label("LabelProductTxt", 12, 28),
    Label("LabelProduct", 100, 28),
    Label("LabelDescriptionTxt", 12, 44),
    TControlLayout{.Name = "LabelDescription", .Kind = K::Label, .Left = 100, .Top = 44,
                   .Width = 189, .Height = 29, .Parent = "PanelInfo", .WordWrap = true},
    TControlLayout{.Name = "ImageAppIcon", .Kind = K::Image, .Left = 252, .Top = 12, .Width = 32,
                   .Height = 32, .Parent = "PanelInfo", .AccessibleName = "Application icon"},
    Panel("PanelAdditionalInfo", "PanelMain", 8, 112, 297, 161, 1, "Details"),
    TControlLayout{.Name = "ListViewVersion", .Kind = K::ListView, .Left = 8, .Top = 8,
                   .Width = 281, .Height = 145, .TabOrder = 0, .Parent = "PanelAdditionalInfo",
                   .AccessibleName = "Details"},
    Panel("PanelButtons", "PanelMain", 8, 276, 297, 41, 2, "Buttons"),
    TControlLayout{.Name = "BitBtnMemory", .Kind = K::BitBtn, .Left = 8, .Top = 8, .Width = 137,
                   .Height = 25, .TabOrder = 1, .Glyph = "MEMORY", .Cursor = kHand,
                   .Parent = "PanelButtons"},
    TControlLayout{.Name = "BitBtnVersion", .Kind = K::BitBtn, .Left = 8, .Top = 8, .Width = 137,
                   .Height = 25, .TabOrder = 2, .Glyph = "VERSIONPAGE", .Cursor = kHand,
                   .Parent = "PanelButtons"},
    TControlLayout{.Name = "BitBtnOK", .Kind = K::BitBtn, .Left = 151, .Top = 8, .Width = 137,
                   .Height = 25, .TabOrder = 3, .Glyph = "OK", .NumGlyphs = 2, .Cursor = kHand,
                   .Default = true, .Cancel = true, .Parent = "PanelButtons"},
};

// Arial 8 point at the usual 96 pixels per inch.
constexpr TFormLayout kForm{.Caption = "Om",
                            .ClientWidth = 313,
                            .ClientHeight = 325,
                            .FontName = "Arial",
                            .FontHeight = -11,
                            .KeyPreview = false,
                            .BorderStyle = TBorderStyle::bsDialog,
                            .Centered = false,
                            .Controls = kControls};

}  // namespace

const TFormLayout& QSAboutVersionLayout() { return kForm; }

}  // namespace bx
