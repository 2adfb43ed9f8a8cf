#include "resources/BXMainLayout.h"

#include <array>

namespace bx {

namespace {

using K = TControlKind;
constexpr TCursor kHand = TCursor::crHandPoint;

constexpr std::string_view kOriginHint =
    "Position the upper left corner of the selected image in the given pixel position (0 is "
    "default and will either center image or put it in top left corner of the desktop)";

constexpr TControlLayout Label(std::string_view name, std::string_view caption, int left, int top,
                               std::string_view focus = {}) {
  return {.Name = name, .Kind = K::Label, .Caption = caption, .Left = left, .Top = top,
          .FocusControl = focus};
}

// A placement button shows only its glyph; a screen reader reads where it
// puts the image.
constexpr TControlLayout Origin(std::string_view name, int left, int top, int tabOrder, int help,
                                std::string_view hint, int tag, std::string_view glyph) {
  constexpr std::string_view kReads[] = {"Top left",    "Top",    "Top right",
                                         "Left",        "Centre", "Right",
                                         "Bottom left", "Bottom", "Bottom right"};
  return {.Name = name, .Kind = K::BitBtn, .Left = left, .Top = top, .Width = 25, .Height = 25,
          .TabOrder = tabOrder, .HelpContext = help, .Hint = hint, .Tag = tag, .Glyph = glyph,
          .Cursor = kHand, .AccessibleName = kReads[tag - 1]};
}

// Creation order.
constexpr std::array kControls{
    TControlLayout{.Name = "ImageWallpaper", .Kind = K::Image, .Left = 4, .Top = 4, .Width = 151,
                   .Height = 111, .HelpContext = 1, .Hint = "Preview of the resulting wallpaper",
                   .Cursor = TCursor::crCross},
    Label("LabelDisplay", "Display:", 164, 4),
    Label("LabelOrigin", "&Origin:", 236, 4, "BitBtnOriginTL"),
    Label("LabelOriginX", "&X", 236, 24, "SpinEditOriginX"),
    Label("LabelOriginY", "&Y", 236, 48, "SpinEditOriginY"),
    Label("LabelImages", "&Wallpapers:", 4, 132, "ListBoxWallpapers"),
    TControlLayout{.Name = "RadioButtonTile", .Kind = K::RadioButton, .Caption = "&Tile",
                   .Left = 164, .Top = 20, .Width = 57, .Height = 17, .TabOrder = 0,
                   .HelpContext = 2, .Hint = "Fill the desktoptop with the selected image"},
    TControlLayout{.Name = "RadioButtonCenter", .Kind = K::RadioButton, .Caption = "&Center",
                   .Left = 164, .Top = 46, .Width = 61, .Height = 17, .TabOrder = 1,
                   .HelpContext = 3, .Hint = "Display only one copy of the image selected",
                   .Checked = true},
    TControlLayout{.Name = "CheckBoxStretch", .Kind = K::CheckBox, .Caption = "&Stretch",
                   .Left = 164, .Top = 72, .Width = 61, .Height = 17, .TabOrder = 2,
                   .HelpContext = 4,
                   .Hint = "Stretch the selected image to the size of the desktop"},
    TControlLayout{.Name = "SpinEditOriginX", .Kind = K::SpinEdit, .Left = 252, .Top = 20,
                   .Width = 53, .Height = 22, .TabOrder = 3, .HelpContext = 5,
                   .Hint = kOriginHint},
    TControlLayout{.Name = "SpinEditOriginY", .Kind = K::SpinEdit, .Left = 252, .Top = 44,
                   .Width = 53, .Height = 22, .TabOrder = 4, .HelpContext = 6,
                   .Hint = kOriginHint},
    Origin("BitBtnOriginTL", 308, 4, 5, 6,
           "Position the upper left corner of the selected image in the desktop's upper left "
           "corner",
           1, "ORIGINTL"),
    Origin("BitBtnOriginT", 332, 4, 6, 7,
           "Position the selected image at the horizontal center position and the topmost of "
           "the desktop",
           2, "ORIGINT"),
    Origin("BitBtnOriginTR", 356, 4, 7, 8,
           "Position the upper left corner of the selected image in the desktop's upper right "
           "corner",
           3, "ORIGINTR"),
    Origin("BitBtnOriginL", 308, 28, 8, 9,
           "Position the selected image at the leftmost position and the vertical center of the "
           "desktop",
           4, "ORIGINL"),
    Origin("BitBtnOriginC", 332, 28, 9, 10,
           "Position the upper the selected image in the center of the desktop (default, "
           "selecting tile will position the image in the upper left desktop corner)",
           5, "ORIGINC"),
    Origin("BitBtnOriginR", 356, 28, 10, 11,
           "Position the selected image at the rightmost position and the vertical center of "
           "the desktop",
           6, "ORIGINR"),
    Origin("BitBtnOriginBL", 308, 52, 11, 12,
           "Position the upper left corner of the selected image in the desktop's lower left "
           "corner",
           7, "ORIGINBL"),
    Origin("BitBtnOriginB", 332, 52, 12, 13,
           "Position the selected image at the horizontal center position and the bottommost of "
           "the desktop",
           8, "ORIGINB"),
    Origin("BitBtnOriginBR", 356, 52, 13, 14,
           "Position the upper left corner of the selected image in the desktop's lower right "
           "corner",
           9, "ORIGINBR"),
    TControlLayout{.Name = "ListBoxWallpapers", .Kind = K::ListBox, .Left = 4, .Top = 148,
                   .Width = 377, .Height = 97, .TabOrder = 19, .HelpContext = 20,
                   .Hint = "A list of available images in the selected image folder",
                   // "(none)" stays on top.
                   .OwnerDraw = true, .ItemHeight = 13, .Sorted = true, .FixedItems = 1,
                   .SystemColor = kColorWindow, .SystemFontColor = kColorWindowText},
    TControlLayout{.Name = "BitBtnOk", .Kind = K::BitBtn, .Caption = "O&k", .Left = 158,
                   .Top = 248, .Width = 75, .Height = 25, .TabOrder = 21, .HelpContext = 22,
                   .Hint = "Save the changes and close this dialog", .Glyph = "OK",
                   .NumGlyphs = 2, .Cursor = kHand, .Default = true, .Enabled = false},
    TControlLayout{.Name = "BitBtnCancel", .Kind = K::BitBtn, .Caption = "Ca&ncel", .Left = 232,
                   .Top = 248, .Width = 75, .Height = 25, .TabOrder = 22, .HelpContext = 23,
                   .Hint = "Abandon all changes and close the dialog", .Glyph = "CANCEL",
                   .NumGlyphs = 2, .Cursor = kHand, .Cancel = true},
    TControlLayout{.Name = "BitBtnApply", .Kind = K::BitBtn, .Caption = "App&ly", .Left = 306,
                   .Top = 248, .Width = 75, .Height = 25, .TabOrder = 23, .HelpContext = 24,
                   .Hint = "Save the changes made but does not close this dialog",
                   .Glyph = "APPLY", .NumGlyphs = 2, .Cursor = kHand, .Enabled = false},
    TControlLayout{.Name = "BitBtnBackGroundColor", .Kind = K::BitBtn,
                   .Caption = "Background color", .Left = 158, .Top = 96, .Width = 121,
                   .Height = 25, .TabOrder = 14, .HelpContext = 15,
                   .Hint = "Changes the desktop's background color", .Glyph = "BGCOLOR",
                   .Cursor = kHand},
    TControlLayout{.Name = "CheckBoxSaveToDefUser", .Kind = K::CheckBox,
                   .Caption = "Also save to default user", .Left = 8, .Top = 252, .Width = 145,
                   .Height = 17, .TabOrder = 20, .HelpContext = 21,
                   .Hint = "Also apply any settings to the default user's registry settings (the "
                           "desktop that appears before you log in to the system)"},
    TControlLayout{.Name = "BitBtnToggleAutoProof", .Kind = K::Button,
                   .Caption = "Toggle &auto proof", .Left = 278, .Top = 96, .Width = 103,
                   .Height = 25, .TabOrder = 15, .HelpContext = 16,
                   .Hint = "Turns on / off applying the changes automatically (this will turn "
                           "off cancel and can not be undone)"},
    TControlLayout{.Name = "BitBtnSelectImage", .Kind = K::Button, .Caption = "Select &image",
                   .Left = 74, .Top = 120, .Width = 103, .Height = 25, .TabOrder = 16,
                   .HelpContext = 17, .Hint = "Select a specific image to use as wallpaper",
                   .Cursor = kHand},
    TControlLayout{.Name = "BitBtnSetFolder", .Kind = K::Button, .Caption = "Set image &folder",
                   .Left = 176, .Top = 120, .Width = 103, .Height = 25, .TabOrder = 17,
                   .HelpContext = 18,
                   .Hint = "Selects the folder to list in the list of wallpapers",
                   .Cursor = kHand},
    TControlLayout{.Name = "BitBtnTogglePreview", .Kind = K::Button,
                   .Caption = "Toggle &preview", .Left = 278, .Top = 120, .Width = 103,
                   .Height = 25, .TabOrder = 18, .HelpContext = 19,
                   .Hint = "Turns on / off viewing the actual result", .Cursor = kHand},
    TControlLayout{.Name = "CheckBoxShowPreviewGrid", .Kind = K::CheckBox,
                   .Caption = "Show grid", .Left = 236, .Top = 72, .Width = 69, .Height = 17,
                   .TabOrder = 25},
};

constexpr TFormLayout kForm{.Caption = "Control Panel - Bexora",
                            .ClientWidth = 385,
                            .ClientHeight = 277,
                            .FontName = "MS Sans Serif",
                            .FontHeight = -11,
                            .KeyPreview = true,
                            .BorderStyle = TBorderStyle::bsDialog,
                            .Centered = true,
                            .Icon = "MAINICON",
                            .Controls = kControls};

}  // namespace

const TFormLayout& BXMainLayout() { return kForm; }

}  // namespace bx
