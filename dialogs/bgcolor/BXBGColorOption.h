// TFrmBXBGColorOption: the modal dialog in which the user chooses where the
// desktop's background colour comes from (the palette or one point of the
// image), and ShowBGColorOptions, which runs it once.
#pragma once

#include <cstdint>

#include "components/Spin.h"
#include "settings/SettingsModel.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace bx {

class TFrmBXBGColorOption : public TForm {
 public:
  explicit TFrmBXBGColorOption(TForm* Owner);

  // Controls, in creation order; each joins the form as it is made.
  TPanel PanelClient{"PanelClient", this};
  TRadioGroup RadioGroupOptions{"RadioGroupOptions", this};
  TBitBtn BitBtnBackGroundColor{"BitBtnBackGroundColor", this};
  TLabel LabelInfo{"LabelInfo", this};
  TLabel LabelPositionX{"LabelPositionX", this};
  TSpinEdit SpinEditPositionX{"SpinEditPositionX", this};
  TLabel LabelPositionY{"LabelPositionY", this};
  TSpinEdit SpinEditPositionY{"SpinEditPositionY", this};
  TPanel PanelBottom{"PanelBottom", this};
  TBitBtn BitBtnOk{"BitBtnOk", this};
  TBitBtn BitBtnCancel{"BitBtnCancel", this};

  void RadioGroupOptionsClick(TObject& Sender);
  void BitBtnBackGroundColorClick(TObject& Sender);

  // The colour the palette changes while the dialog is open.
  TColor FColor = 0;
};

// Runs the dialog over Owner with the three values and writes back what the
// user confirmed. True in every case, Cancel included.
bool ShowBGColorOptions(TForm* Owner, std::uint8_t& Option, TColor& Color, TPoint& Position);

}  // namespace bx
