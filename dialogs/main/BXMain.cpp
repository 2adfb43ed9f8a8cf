#include "dialogs/main/BXMain.h"

#include <exception>
#include <functional>

#include "components/GifImage.h"
#include "dialogs/about/QSAboutVersion.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "resources/BXMainLayout.h"
#include "settings/RegSpecial.h"

namespace bx {

namespace {

constexpr unsigned kCmdAbout = 666;
constexpr unsigned kCmdToggleHints = 667;
constexpr unsigned kCmdClearRegistry = 668;

// GIF images are never animated in this module, not in the preview and not
// anywhere else; the reader's other default options stay.
const bool kGifAnimationOff = [] {
  GIFImageDefaultDrawOptions &= ~TGIFDrawOptions{goAnimate};
  return true;
}();

// The Windows folder as the default of an "AppData" value, with the "\" that
// the converted file's path needs. An empty value would make that path
// relative to the host's current folder: it counts as missing.
std::string ReadAppDataFolder(RegKey root, const std::string& key) {
  std::string folder =
      ReadRegistryValue(root, key, "AppData", TVariant(GetWindowsFolder())).AsString();
  if (folder.empty()) return GetWindowsFolder();
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace

TFrmBXMain::TFrmBXMain(std::uintptr_t parentWindow) {
  ParentWindow = parentWindow;
  ApplyLayout(BXMainLayout(), *this);
  for (TSpinEdit* spin : {&SpinEditOriginX, &SpinEditOriginY}) {
    spin->Increment = 10;
    spin->MinValue = 0;  // equal bounds: no limit
    spin->MaxValue = 0;
    spin->SetValue(0);
  }

  BindEvents();
  SetUpComponents();
  Dispatch([this] { FormCreate(*this); });
}

TFrmBXMain::~TFrmBXMain() {
  Dispatch([this] { FormDestroy(*this); });
}

void TFrmBXMain::BindEvents() {
  using std::bind_front;
  ImageWallpaper.OnMouseDown = bind_front(&TFrmBXMain::ImageWallpaperMouseDown, this);
  ImageWallpaper.OnMouseMove = bind_front(&TFrmBXMain::ImageWallpaperMouseMove, this);
  RadioButtonTile.OnClick = bind_front(&TFrmBXMain::RadioButtonTileClick, this);
  RadioButtonCenter.OnClick = bind_front(&TFrmBXMain::RadioButtonCenterClick, this);
  CheckBoxStretch.OnClick = bind_front(&TFrmBXMain::CheckBoxStretchClick, this);
  SpinEditOriginX.OnChange = bind_front(&TFrmBXMain::SpinEditOriginXChange, this);
  SpinEditOriginY.OnChange = bind_front(&TFrmBXMain::SpinEditOriginYChange, this);
  for (TBitBtn* button : {&BitBtnOriginTL, &BitBtnOriginT, &BitBtnOriginTR, &BitBtnOriginL,
                          &BitBtnOriginC, &BitBtnOriginR, &BitBtnOriginBL, &BitBtnOriginB,
                          &BitBtnOriginBR})
    button->OnClick = bind_front(&TFrmBXMain::BitBtnPreOriginClick, this);
  ListBoxWallpapers.OnClick = bind_front(&TFrmBXMain::ListBoxWallpapersClick, this);
  ListBoxWallpapers.OnDrawItem = bind_front(&TFrmBXMain::ListBoxWallpapersDrawItem, this);
  BitBtnOk.OnClick = bind_front(&TFrmBXMain::BitBtnOkClick, this);
  BitBtnCancel.OnClick = bind_front(&TFrmBXMain::BitBtnCancelClick, this);
  BitBtnApply.OnClick = bind_front(&TFrmBXMain::BitBtnApplyClick, this);
  BitBtnBackGroundColor.OnClick = bind_front(&TFrmBXMain::BitBtnBackGroundColorClick, this);
  CheckBoxSaveToDefUser.OnClick = bind_front(&TFrmBXMain::CheckBoxSaveToDefUserClick, this);
  BitBtnToggleAutoProof.OnClick = bind_front(&TFrmBXMain::BitBtnToggleAutoProofClick, this);
  BitBtnSelectImage.OnClick = bind_front(&TFrmBXMain::BitBtnSelectImageClick, this);
  BitBtnSetFolder.OnClick = bind_front(&TFrmBXMain::BitBtnSetFolderClick, this);
  BitBtnTogglePreview.OnClick = bind_front(&TFrmBXMain::BitBtnTogglePreviewClick, this);
  CheckBoxShowPreviewGrid.OnClick =
      bind_front(&TFrmBXMain::CheckBoxShowPreviewGridClick, this);
}

void TFrmBXMain::SetUpComponents() {
  FolderDialog.SetTitle("Browse for Folder");
  FolderDialog.Text = "Select a folder to display in the list of Walpapers";
  FolderDialog.OnChange = std::bind_front(&TFrmBXMain::FolderDialogChange, this);

  OpenPictureDialog.Title = "Select an wallpaper image";
  OpenPictureDialog.Filter =
      "All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png;*.webp)"
      "|*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png;*.webp"
      "|CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg"
      "|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico"
      "|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"
      "|Portable Network Graphics (*.png)|*.png|WebP Image (*.webp)|*.webp";
  OpenPictureDialog.FilterIndex = 1;
  OpenPictureDialog.Options = kOfnHideReadOnly | kOfnPathMustExist | kOfnFileMustExist |
                              kOfnNoTestFileCreate | kOfnEnableSizing | kOfnDontAddToRecent;
  OpenPictureDialog.OptionsEx = kOfnExNoPlacesBar;

  // The monitor's report reaches the dialog's thread like a message: an
  // error of the handler is shown the same way.
  FolderMonitor.OnChange = [this](TObject& Sender) {
    Dispatch([&] { FolderMonitorChange(Sender); });
  };
  FolderMonitor.BeginLoading();
  FolderMonitor.SetActive(true);
  FolderMonitor.SetDelayTime(10);
  FolderMonitor.SetFilter(fnFileName | fnDirName | fnSize | fnLastWrite | fnCreation);
  // A starting value that the first fill of the list replaces.
  FolderMonitor.SetFolderName("C:\\WinNT");
  FolderMonitor.SetMonitorSubtree(false);
  Dispatch([this] { FolderMonitor.Loaded(); });
}

void TFrmBXMain::FormCreate(TObject&) {
  FClearOnExit = false;

  // A folder value that cannot be read is reported once the dialog is
  // whole; meanwhile the folder falls back to the Windows folder, as for a
  // missing value, and the rest of the creation still runs.
  std::exception_ptr failure;
  auto readFolder = [&failure](RegKey root, const std::string& key) {
    try {
      return ReadAppDataFolder(root, key);
    } catch (const std::exception&) {
      if (!failure) failure = std::current_exception();
      return GetWindowsFolder();
    }
  };
  FAppDataFolder = readFolder(kHKeyCurrentUser, kShellFoldersKey);
  FDefaultUserAppDataFolder = readFolder(kHKeyUsers, kDefaultUserShellFoldersKey);

  AppendSystemMenu(kCmdAbout, "&About ...\tShift+F1");
  AppendSystemMenu(kCmdToggleHints, "&Toggle hints\tCtrl+F1");
  AppendSystemMenu(kCmdClearRegistry, "C&lear registry ...");

  FAutoProof = false;
  FLoading = false;
  FPatternBitmap = std::make_unique<TPixelBuffer>(8, 8);
  FImageBitmap = std::make_unique<TPixelBuffer>();

  try {
    LoadSettings();
  } catch (const std::exception&) {
    if (!failure) failure = std::current_exception();
  }

  // The dialog opens with nothing to save, also after an error above.
  BitBtnOk.SetEnabled(false);
  BitBtnApply.SetEnabled(false);
  if (failure) std::rethrow_exception(failure);
}

void TFrmBXMain::FormDestroy(TObject&) {
  // The preview reads the image bitmap when it paints, and the clearing
  // below may show a message while the window still paints.
  ImageWallpaper.SetSource(nullptr);
  FPatternBitmap.reset();
  FImageBitmap.reset();
  // The preview's pattern brush lives only while the preview draws, so no
  // brush bitmap can be left over here.
  if (FClearOnExit) ClearRegistry();
}

void TFrmBXMain::FormKeyDown(TObject&, int& Key, TShiftState Shift) {
  if (Key != kVkF1) return;
  if (Shift == ssShift) {
    Key = 0;
    AboutCommand();
  } else if (Shift == ssCtrl) {
    Key = 0;
    ToggleHintsCommand();
  }
}

bool TFrmBXMain::FormHelp(std::uint16_t, std::int32_t, bool& CallHelp) {
  // The applet has no help file: every request is answered here.
  CallHelp = false;
  return true;
}

// The window's default handling has already run when the binding calls this.
void TFrmBXMain::WMSysCommand(unsigned CmdType) {
  switch (CmdType) {
    case kCmdAbout: AboutCommand(); break;
    case kCmdToggleHints: ToggleHintsCommand(); break;
    case kCmdClearRegistry: ConfirmClearRegistry(); break;
    default: break;
  }
}

void TFrmBXMain::KeyDown(int& key, TShiftState shift) {
  Dispatch([&] { FormKeyDown(*this, key, shift); });
}

void TFrmBXMain::SysCommand(unsigned id) {
  Dispatch([&] { WMSysCommand(id); });
}

bool TFrmBXMain::Help(std::uint16_t command, std::int32_t data, bool& callHelp) {
  bool handled = false;
  Dispatch([&] { handled = FormHelp(command, data, callHelp); });
  return handled;
}

void TFrmBXMain::BitBtnOkClick(TObject&) {
  ApplySettings();
  Application().Terminate();
}

void TFrmBXMain::BitBtnCancelClick(TObject&) { Application().Terminate(); }

void TFrmBXMain::BitBtnApplyClick(TObject&) {
  ApplySettings();
  BitBtnApply.SetEnabled(false);
}

void TFrmBXMain::BitBtnToggleAutoProofClick(TObject&) {
  FAutoProof = !FAutoProof;
  BitBtnCancel.SetVisible(!FAutoProof);
  // The full-screen preview shows: leave it.
  if (FullScreenPreview()) BitBtnTogglePreview.Click();
  ApplySettings();
}

void TFrmBXMain::CheckBoxSaveToDefUserClick(TObject&) {
  FSaveToDefUser = CheckBoxSaveToDefUser.Checked();
}

void TFrmBXMain::MarkChanged() {
  BitBtnOk.SetEnabled(true);
  BitBtnApply.SetEnabled(true);
}

void TFrmBXMain::AboutCommand() {
  // Opened from the Control Panel, the second parameter is the module's
  // path followed by "," and the applet's name.
  const std::vector<std::string> args = Platform().System->CommandLineArgs();
  std::string fileName = args.size() > 2 ? args[2] : std::string();
  const std::size_t comma = fileName.rfind(',');
  fileName = comma == std::string::npos ? std::string() : fileName.substr(0, comma);
  // Hosts that do not name the module there (control.exe Bexora.cpl) still
  // get the version of this very module.
  if ((fileName.empty() || !Platform().Files->FileExists(fileName)) && Platform().Modules)
    fileName = Platform().Modules->ModuleFileName();
  if (!fileName.empty() && Platform().Files->FileExists(fileName)) {
    ShowVersionAbout(this, fileName, {"=(unknown)"}, true);
  } else {
    Platform().MessageBoxes->MessageDlg("There are no version information to display!",
                                        TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
  }
}

void TFrmBXMain::ToggleHintsCommand() {
  SetShowHint(!ShowHint());
  Application().ShowHint = ShowHint();
  WriteRegistryValue(kHKeyCurrentUser, kOwnKey, "ShowHint", TVariant(ShowHint()));
}

}  // namespace bx
