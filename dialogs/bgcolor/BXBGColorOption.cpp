#include "dialogs/bgcolor/BXBGColorOption.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "resources/BXBGColorOptionLayout.h"

namespace bx {

namespace {

constexpr int kPaletteOption = 0;
constexpr int kPositionOption = 10;

const char* const kItems[] = {
    "Palette (Default)",   "Image Center",        "Image Top, Left",     "Image Top, Right",
    "Image Bottom, Left",  "Image Bottom, Right", "Image Left, Center",  "Image Right, Center",
    "Image Top, Center",   "Image Bottom, Center", "Specific position",
};

// The info texts of options 1 to 10; option 0's names the palette button.
const char* const kInfo[] = {
    "The background color will be taken from the center of the image (Width/2, Height/2).",
    "The background color will be taken from the top left corner of the image (Left+5, Top+5).",
    "The background color will be taken from the top right corner of the image (Right-5, "
    "Top+5).",
    "The background color will be taken from the bottom left corner of the image (Left+5, "
    "Bottom-5).",
    "The background color will be taken from the bottom right corner of the image (Right-5, "
    "Bottom-5).",
    "The background color will be taken from the center of the left of the image (Left+5, "
    "Height/2).",
    "The background color will be taken from the center of the right of the image (Right-5, "
    "Height/2).",
    "The background color will be taken from the center of the top of the image (Width/2, "
    "Top+5).",
    "The background color will be taken from the center of the bottom of the image (Width/2, "
    "Bottom-5).",
    "The background color will be taken from the coordinates specified below in the image (X, "
    "Y)\rThe values are truncated if they exceeds the image boundaries.",
};

}  // namespace

TFrmBXBGColorOption::TFrmBXBGColorOption(TForm* Owner) {
  OwnerForm = Owner;
  ApplyLayout(BXBGColorOptionLayout(), *this);
  // The group's item buttons come after everything, so that they lie above its frame.
  RadioGroupOptions.SetItems({std::begin(kItems), std::end(kItems)});
  for (TSpinEdit* spin : {&SpinEditPositionX, &SpinEditPositionY}) {
    spin->Increment = 10;
    spin->MinValue = 0;  // equal bounds: no limit
    spin->MaxValue = 0;
    spin->SetValue(0);
  }

  using std::bind_front;
  RadioGroupOptions.OnClick = bind_front(&TFrmBXBGColorOption::RadioGroupOptionsClick, this);
  BitBtnBackGroundColor.OnClick =
      bind_front(&TFrmBXBGColorOption::BitBtnBackGroundColorClick, this);
  BitBtnOk.OnClick = [this](TObject&) { ModalResult = mrOk; };
  BitBtnCancel.OnClick = [this](TObject&) { ModalResult = mrCancel; };
}

void TFrmBXBGColorOption::RadioGroupOptionsClick(TObject&) {
  const int k = RadioGroupOptions.ItemIndex();
  BitBtnOk.SetEnabled(k >= 0);
  BitBtnBackGroundColor.SetEnabled(k == kPaletteOption);
  for (TControl* control : std::initializer_list<TControl*>{
           &LabelPositionX, &SpinEditPositionX, &LabelPositionY, &SpinEditPositionY})
    control->SetEnabled(k == kPositionOption);
  if (k < 0)
    LabelInfo.SetCaption("Select an option.");
  else if (k == kPaletteOption)
    LabelInfo.SetCaption("Select the color from the palette by pressing the \"" +
                         BitBtnBackGroundColor.Caption() + "\" button.");
  else
    LabelInfo.SetCaption(kInfo[k - 1]);
}

void TFrmBXBGColorOption::BitBtnBackGroundColorClick(TObject&) {
  TColorDialogRequest request;
  // Owned by this dialog, so that nothing under the palette stays usable.
  request.Owner = Handle;
  request.Color = FColor;
  request.FullOpen = true;
  if (Platform().Dialogs && Platform().Dialogs->PickColor(request)) FColor = request.Color;
}

bool ShowBGColorOptions(TForm* Owner, std::uint8_t& Option, TColor& Color, TPoint& Position) {
  auto dialog = std::make_unique<TFrmBXBGColorOption>(Owner);
  TModalRun run(*dialog);

  dialog->FColor = Color;
  dialog->SpinEditPositionX.SetValue(Position.X);
  dialog->SpinEditPositionY.SetValue(Position.Y);
  // A stored option above 10 opens with "Specific position".
  dialog->RadioGroupOptions.SetItemIndex(Option > kPositionOption ? kPositionOption : Option);
  run.ShowModal();
  if (dialog->ModalResult == mrOk) {
    const int k = dialog->RadioGroupOptions.ItemIndex();
    if (k == kPaletteOption) Color = dialog->FColor;
    if (k == kPositionOption) {
      Position.X = std::max(dialog->SpinEditPositionX.Value(), 0);
      Position.Y = std::max(dialog->SpinEditPositionY.Value(), 0);
    }
    if (k >= 0) Option = static_cast<std::uint8_t>(k);
  }
  return true;
}

}  // namespace bx
