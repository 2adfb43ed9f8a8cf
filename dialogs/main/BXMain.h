// TFrmBXMain, the applet's one dialog: its controls, the settings model it
// edits and the handlers that the controls are bound to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "components/FolderNotify.h"
#include "components/FoldrDlg.h"
#include "components/OpenPictureDialog.h"
#include "components/Spin.h"
#include "dialogs/main/DesktopComposition.h"
#include "dialogs/main/PictureCache.h"
#include "gfx/PixelBuffer.h"
#include "settings/SettingsModel.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace bx {

class TPicture;
class TPreviewScene;

class TFrmBXMain : public TForm, public TBXSettings {
 public:
  // Builds the controls from the dialog's layout and runs FormCreate; an
  // error of FormCreate is shown and the dialog is still made.
  explicit TFrmBXMain(std::uintptr_t parentWindow = 0);
  ~TFrmBXMain() override;

  // Controls, in creation order; each joins the form as it is made.
  TImage ImageWallpaper{"ImageWallpaper", this};
  TLabel LabelDisplay{"LabelDisplay", this};
  TLabel LabelOrigin{"LabelOrigin", this};
  TLabel LabelOriginX{"LabelOriginX", this};
  TLabel LabelOriginY{"LabelOriginY", this};
  TLabel LabelImages{"LabelImages", this};
  TRadioButton RadioButtonTile{"RadioButtonTile", this};
  TRadioButton RadioButtonCenter{"RadioButtonCenter", this};
  TCheckBox CheckBoxStretch{"CheckBoxStretch", this};
  TSpinEdit SpinEditOriginX{"SpinEditOriginX", this};
  TSpinEdit SpinEditOriginY{"SpinEditOriginY", this};
  TBitBtn BitBtnOriginTL{"BitBtnOriginTL", this};
  TBitBtn BitBtnOriginT{"BitBtnOriginT", this};
  TBitBtn BitBtnOriginTR{"BitBtnOriginTR", this};
  TBitBtn BitBtnOriginL{"BitBtnOriginL", this};
  TBitBtn BitBtnOriginC{"BitBtnOriginC", this};
  TBitBtn BitBtnOriginR{"BitBtnOriginR", this};
  TBitBtn BitBtnOriginBL{"BitBtnOriginBL", this};
  TBitBtn BitBtnOriginB{"BitBtnOriginB", this};
  TBitBtn BitBtnOriginBR{"BitBtnOriginBR", this};
  TListBox ListBoxWallpapers{"ListBoxWallpapers", this};
  TBitBtn BitBtnOk{"BitBtnOk", this};
  TBitBtn BitBtnCancel{"BitBtnCancel", this};
  TBitBtn BitBtnApply{"BitBtnApply", this};
  TBitBtn BitBtnBackGroundColor{"BitBtnBackGroundColor", this};
  TCheckBox CheckBoxSaveToDefUser{"CheckBoxSaveToDefUser", this};
  TButton BitBtnToggleAutoProof{"BitBtnToggleAutoProof", this};
  TButton BitBtnSelectImage{"BitBtnSelectImage", this};
  TButton BitBtnSetFolder{"BitBtnSetFolder", this};
  TButton BitBtnTogglePreview{"BitBtnTogglePreview", this};
  TCheckBox CheckBoxShowPreviewGrid{"CheckBoxShowPreviewGrid", this};

  // Components without a window.
  TFolderDialog FolderDialog{this};
  TOpenPictureDialog OpenPictureDialog{this};
  TFolderMonitor FolderMonitor;

  // Lifecycle and commands.
  void FormCreate(TObject& Sender);
  void FormDestroy(TObject& Sender);
  void FormKeyDown(TObject& Sender, int& Key, TShiftState Shift);
  bool FormHelp(std::uint16_t Command, std::int32_t Data, bool& CallHelp);
  void WMSysCommand(unsigned CmdType);
  void BitBtnOkClick(TObject& Sender);
  void BitBtnCancelClick(TObject& Sender);
  void BitBtnApplyClick(TObject& Sender);
  void BitBtnToggleAutoProofClick(TObject& Sender);
  void CheckBoxSaveToDefUserClick(TObject& Sender);
  void AboutCommand();
  void ToggleHintsCommand();
  void ConfirmClearRegistry();
  void ClearRegistry();

  // Settings.
  void LoadSettings();
  void ApplySettings();

  // Preview.
  void UpdatePreview();
  void BuildPatternBitmap(TColor ForeColor, TColor BackColor);
  TColor GetColorFromImage();
  void DrawPreviewGrid(TPreviewScene& scene);
  void CheckBoxShowPreviewGridClick(TObject& Sender);
  void BitBtnTogglePreviewClick(TObject& Sender);
  // The full-screen view shows: the client area is wider than the normal
  // form's, whatever frame the system draws around it.
  bool FullScreenPreview() const;

  // Placement.
  void RadioButtonTileClick(TObject& Sender);
  void RadioButtonCenterClick(TObject& Sender);
  void CheckBoxStretchClick(TObject& Sender);
  void SpinEditOriginXChange(TObject& Sender);
  void SpinEditOriginYChange(TObject& Sender);
  void BitBtnPreOriginClick(TObject& Sender);
  void ImageWallpaperMouseDown(TObject& Sender, TMouseButton Button, TShiftState Shift, int X,
                               int Y);
  void ImageWallpaperMouseMove(TObject& Sender, TShiftState Shift, int X, int Y);

  // Image list, folder and background colour choice.
  void FillWallpaperList();
  int FindWallpaperIndex();
  void ListBoxWallpapersClick(TObject& Sender);
  void ListBoxWallpapersDrawItem(TObject& Control, int Index, const TRect& Rect,
                                 TOwnerDrawState State);
  void FolderMonitorChange(TObject& Sender);
  void BitBtnSelectImageClick(TObject& Sender);
  void BitBtnSetFolderClick(TObject& Sender);
  void FolderDialogChange(TObject& Sender);
  void BitBtnBackGroundColorClick(TObject& Sender);

  // Window hooks.
  void KeyDown(int& key, TShiftState shift) override;
  void SysCommand(unsigned id) override;
  bool Help(std::uint16_t command, std::int32_t data, bool& callHelp) override;

  // Dialog state (public so that the tests can see it).
  bool FAutoProof = false;
  bool FClearOnExit = false;
  // The default user's part of an apply was skipped and the user told so;
  // told once for the dialog.
  bool FDefaultUserFailureShown = false;
  std::int32_t FSavedLeft = 0;
  std::int32_t FSavedTop = 0;
  // The outer size before the full-screen view: under any frame it holds
  // the normal client area.
  std::int32_t FSavedWidth = 0;
  std::int32_t FSavedHeight = 0;
  std::unique_ptr<TPixelBuffer> FPatternBitmap;
  std::unique_ptr<TPixelBuffer> FImageBitmap;
  // The image's own size. FImageBitmap holds it reduced where it is shown
  // smaller (a stretched photo); the presets and the sampling points are
  // reckoned at this size.
  int ImageWidth() const;
  int ImageHeight() const;
  // The image's row that FImageBitmap's first row shows: 0 unless it holds
  // a band of a large photo's rows shown at its own size.
  int ImageTop() const;
  // The wallpaper's decoded picture, kept between preview updates.
  TPictureCache FPictureCache;
  // The preview's hint as designed; a placement stored by Windows adds to it.
  std::string FPreviewHint;
  // The desktop the last preview showed, without its grid: what Apply
  // writes where the desktop cannot place the image itself. Null while the
  // preview shows no image.
  std::shared_ptr<const TPreviewScene> FDesktopScene;

 private:
  void BindEvents();
  void SetUpComponents();
  void MarkChanged();
  // A user's change of the origin turns a placement stored by Windows into
  // the dialog's own, so that the origin shows.
  void EndWindowsPlacement();
  // Makes FImageBitmap the cache's picture (Load first) as the preview
  // shows it: reduced where it is stretched onto a smaller desktop, a band
  // of a large photo's rows around FShownTop up to FShownBottom where it is
  // placed once at its own size.
  void ComposeImageBitmap(TPicture& picture);
  // The image's rows that the desktop shows with its top at row `top`:
  // FShownTop up to FShownBottom.
  void ShownRows(std::int64_t top, int height, int desktopHeight);
  int FShownTop = 0, FShownBottom = 0;
  // The placement as the desktop values hold it.
  TPlacementValues Placement() const;
  // What UpdatePreview composed into FImageBitmap: the picture's own size
  // and the bitmap's stamp then (a bitmap changed since is its own size).
  int FImageWidth = 0, FImageHeight = 0, FImageTop = 0;
  TPixelBuffer::TStamp FImageStamp;
};

// True while UpdatePreview runs.
extern bool PreviewBusy;

}  // namespace bx
