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

  TPanel PanelClient{"PanelClient"};
  TRadioGroup RadioGroupOptions{"RadioGroupOptions"};
  TBitBtn BitBtnBackGroundColor{"BitBtnBackGroundColor"};
  TLabel LabelInfo{"LabelInfo"};
  TLabel LabelPositionX{"LabelPositionX"};
  TSpinEdit SpinEditPositionX{"SpinEditPositionX"};
  TLabel LabelPositionY{"LabelPositionY"};
  TSpinEdit SpinEditPositionY{"SpinEditPositionY"};
  TPanel PanelBottom{"PanelBottom"};
  TBitBtn BitBtnOk{"BitBtnOk"};
  TBitBtn BitBtnCancel{"BitBtnCancel"};

  void RadioGroupOptionsClick(TObject& Sender);
  void BitBtnBackGroundColorClick(TObject& Sender);

  // The colour the palette changes while the dialog is open.
  TColor FColor = 0;
};

// Runs the dialog over Owner with the three values and writes back what the
// user confirmed. True in every case, Cancel included.
bool ShowBGColorOptions(TForm* Owner, std::uint8_t& Option, TColor& Color, TPoint& Position);

}  // namespace bx
