// The image list and the image and folder choice of the main dialog. Not
// built yet: the list stays empty and its commands do nothing.
#include "dialogs/main/BXMain.h"

namespace bx {

void TFrmBXMain::FillWallpaperList() {}

int TFrmBXMain::FindWallpaperIndex() { return -1; }

void TFrmBXMain::ListBoxWallpapersClick(TObject&) {}

void TFrmBXMain::BitBtnSelectImageClick(TObject&) {}

void TFrmBXMain::BitBtnSetFolderClick(TObject&) {}

}  // namespace bx
