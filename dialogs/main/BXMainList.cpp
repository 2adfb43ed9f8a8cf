// The image list of the main dialog: the images of the image folder after
// "(none)", kept up to date while the dialog is open, and the choice of
// another image folder or of any single image file.
#include <algorithm>

#include "components/ListFiles.h"
#include "dialogs/main/BXMain.h"
#include "platform/Platform.h"

namespace bx {

namespace {

const std::string kNone = "(none)";
const std::string kImageMasks = "*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png;*.webp";

// Whether the first entry the search finds for one of the image masks is a
// file: a folder without images cannot be chosen.
bool FolderHasImages(const std::string& folder) { return FirstMatchIsFile(folder, kImageMasks); }

}  // namespace

void TFrmBXMain::FillWallpaperList() {
  ListBoxWallpapers.SetItems({kNone});
  if (FWallpaperFolder.empty()) return;
  if (FWallpaperFolder.back() != '\\') FWallpaperFolder += '\\';

  // A folder the system refuses to watch is still listed; the refusal is
  // reported after that.
  std::exception_ptr watchError;
  try {
    FolderMonitor.SetFolderName(FWallpaperFolder);
  } catch (const std::exception&) {
    watchError = std::current_exception();
  }

  std::vector<std::string> files = ListFiles(FWallpaperFolder, kImageMasks, kFaAnyFile, false);
  // The converted wallpaper is the applet's own file, never an image to choose.
  if (AsciiUpperCase(FWallpaperFolder) == AsciiUpperCase(FAppDataFolder)) {
    const std::string converted = AsciiUpperCase(FAppDataFolder + kConvertedFileName);
    std::erase_if(files, [&](const std::string& name) {
      return AsciiUpperCase(FWallpaperFolder + name) == converted;
    });
  }
  std::stable_sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
    return CompareFileNames(a, b) < 0;
  });
  files.insert(files.begin(), kNone);
  ListBoxWallpapers.SetItems(std::move(files));
  if (watchError) std::rethrow_exception(watchError);
}

int TFrmBXMain::FindWallpaperIndex() {
  const std::vector<std::string>& items = ListBoxWallpapers.Items();
  if (FWallpaper.empty() || items.size() < 2) return -1;
  std::string key = AsciiUpperCase(FWallpaper);
  // After a conversion the list shows the image the user chose.
  if (key == AsciiUpperCase(FAppDataFolder + kConvertedFileName) && !FWallpaperOrg.empty())
    key = AsciiUpperCase(FWallpaperOrg);
  for (std::size_t i = 1; i < items.size(); ++i)
    if (AsciiUpperCase(FWallpaperFolder + items[i]) == key) return static_cast<int>(i);
  return -1;
}

void TFrmBXMain::ListBoxWallpapersDrawItem(TObject& Control, int Index, const TRect& Rect,
                                           TOwnerDrawState) {
  auto& list = static_cast<TListBox&>(Control);
  TCanvas* canvas = list.Canvas();
  if (!canvas || Index < 0 || Index >= static_cast<int>(list.Items().size())) return;
  std::string text = list.Items()[static_cast<std::size_t>(Index)];
  const std::size_t dot = text.rfind('.');
  if (dot != std::string::npos) text.erase(dot);
  canvas->FillRect(Rect);
  canvas->TextOut(Rect.Left, Rect.Top, text);
}

void TFrmBXMain::ListBoxWallpapersClick(TObject&) {
  MarkChanged();
  const int index = ListBoxWallpapers.ItemIndex();
  if (index < 1)
    FWallpaper.clear();
  else
    FWallpaper = FWallpaperFolder + ListBoxWallpapers.Items()[static_cast<std::size_t>(index)];
  FWallpaperOrg = FWallpaper;
  UpdatePreview();
}

void TFrmBXMain::FolderMonitorChange(TObject&) {
  FillWallpaperList();
  ListBoxWallpapers.SetItemIndex(FindWallpaperIndex());
}

void TFrmBXMain::BitBtnSetFolderClick(TObject&) {
  FolderDialog.SetDirectory(FWallpaperFolder);
  if (!FolderDialog.Execute()) return;
  FWallpaperFolder = FolderDialog.Directory();
  FillWallpaperList();
  const int index = FindWallpaperIndex();
  ListBoxWallpapers.SetItemIndex(index);
  if (index >= 0) ListBoxWallpapers.SetTopIndex(index);
  MarkChanged();
  if (FAutoProof) ApplySettings();
}

void TFrmBXMain::FolderDialogChange(TObject&) {
  FolderDialog.EnableOK(FolderHasImages(FolderDialog.Directory()));
}

void TFrmBXMain::BitBtnSelectImageClick(TObject&) {
  OpenPictureDialog.InitialDir = FWallpaperFolder;
  // The converted file is the applet's own: the dialog opens on the image
  // it was made from.
  const bool converted = FWallpaper == FAppDataFolder + kConvertedFileName;
  OpenPictureDialog.FileName =
      converted && !FWallpaperOrg.empty() ? FWallpaperOrg : FWallpaper;
  if (!OpenPictureDialog.Execute()) return;
  FWallpaper = OpenPictureDialog.FileName;
  FWallpaperOrg = FWallpaper;
  UpdatePreview();
  MarkChanged();
}

}  // namespace bx
