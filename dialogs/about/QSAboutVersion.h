// The about box: a file's version, product and description over a list
// that shows either the entries of the file's version resource or the
// machine's memory figures. Danish unless the caller asks for English.
#pragma once

#include <string>
#include <vector>

#include "components/VersionReader.h"
#include "dialogs/about/QSAboutTexts.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/ListView.h"

namespace bx {

class TFrmQSVersionAbout : public TForm {
 public:
  // Builds the controls from the box's layout and runs FormCreate.
  explicit TFrmQSVersionAbout(TObject* owner);
  ~TFrmQSVersionAbout() override;

  // Controls, in creation order; each joins the form as it is made.
  TPanel PanelMain{"PanelMain", this};
  TPanel PanelInfo{"PanelInfo", this};
  TLabel LabelVersionTxt{"LabelVersionTxt", this};
  TLabel LabelVersion{"LabelVersion", this};
  TLabel LabelProductTxt{"LabelProductTxt", this};
  TLabel LabelProduct{"LabelProduct", this};
  TLabel LabelDescriptionTxt{"LabelDescriptionTxt", this};
  TLabel LabelDescription{"LabelDescription", this};
  TImage ImageAppIcon{"ImageAppIcon", this};
  TPanel PanelAdditionalInfo{"PanelAdditionalInfo", this};
  TListView ListViewVersion{"ListViewVersion", this};
  TPanel PanelButtons{"PanelButtons", this};
  TBitBtn BitBtnMemory{"BitBtnMemory", this};
  TBitBtn BitBtnVersion{"BitBtnVersion", this};
  TBitBtn BitBtnOK{"BitBtnOK", this};

  void FormCreate(TObject& Sender);
  void FormDestroy(TObject& Sender);
  void BitBtnVersionClick(TObject& Sender);
  void BitBtnMemoryClick(TObject& Sender);
  void BitBtnOKClick(TObject& Sender);
  void SetDefaultTexts();
  void UpdateTexts();

  // The owner given at creation (the calling dialog).
  TObject* Owner() const { return FOwner; }

  // State (public so that the tests can see it).
  std::string FFileName;
  // Lines Name=Caption, sorted without regard to case; duplicates allowed.
  std::vector<std::string> FExtraCaptions;
  TAboutTexts FTexts;

  // Adds a line to FExtraCaptions at its sorted place.
  void AddExtraCaption(const std::string& line);
  // The caption FExtraCaptions gives for a name (compared without regard to case).
  std::string ExtraCaption(const std::string& name) const;

 private:
  void ShowIcon(bool fromFile);
  TObject* FOwner;
};

void ShowVersionAbout(TObject* owner, const std::string& fileName,
                      const std::vector<std::string>& extraCaptions, bool english);

}  // namespace bx
