#include "components/FoldrDlg.h"

#include "platform/Platform.h"

namespace bx {

int SpecialFolderOf(TShellFolder folder) {
  const int index = static_cast<int>(folder);
  if (index == 0) return -1;
  if (index == 1) return 0;           // the desktop
  if (index <= 11) return index;      // programs .. start menu: 2 .. 11
  return index + 4;                   // desktop folder .. print hood: 16 .. 27
}

TFolderDialog::~TFolderDialog() {
  if (FWindow) FWindow->Close();
}

std::string TFolderDialog::Title() const { return FWindow ? FWindow->Caption() : FTitle; }

void TFolderDialog::SetTitle(const std::string& value) {
  FTitle = value;
  if (FWindow) FWindow->SetCaption(value);
}

std::string TFolderDialog::Directory() const { return FWindow ? FSelection : FDirectory; }

void TFolderDialog::SetDirectory(const std::string& value) {
  FDirectory = value;
  if (FWindow) FWindow->Select(value);
}

// In this order: of the two centrings the one set before goes; a new
// computer or printer browse drops what it cannot go with; a path in the
// status line needs the status line, and without it the path goes too.
void TFolderDialog::SetOptions(TFolderDialogOptions value) {
  const TFolderDialogOptions old = FOptions;
  if ((value & bfScreenCenter) && (value & bfParentCenter)) {
    if (old & bfScreenCenter)
      value &= ~bfScreenCenter;
    else if (old & bfParentCenter)
      value &= ~bfParentCenter;
  }
  const TFolderDialogOptions added = value & ~old;
  if (added & bfBrowseForComputer) {
    RootFolder = TShellFolder::sfoNetwork;
    value &= ~(bfFileSysDirsOnly | bfFileSysAncestors | bfBrowseForPrinter);
  } else if (added & bfBrowseForPrinter) {
    value &= ~(bfFileSysDirsOnly | bfDontGoBelowDomain | bfFileSysAncestors | bfBrowseForComputer);
  }
  if (added & bfShowPathInStatusArea) value |= bfStatusText;
  if ((old & bfStatusText) && !(value & bfStatusText)) value &= ~bfShowPathInStatusArea;
  FOptions = value;
}

bool TFolderDialog::Execute() {
  ICommonDialogs* dialogs = Platform().Dialogs;
  if (!dialogs) {
    FDirectory.clear();
    return false;
  }
  static constexpr std::pair<TFolderDialogOption, std::uint32_t> kFlags[] = {
      {bfFileSysDirsOnly, kBifReturnOnlyFsDirs},   {bfDontGoBelowDomain, kBifDontGoBelowDomain},
      {bfStatusText, kBifStatusText},              {bfFileSysAncestors, kBifReturnFsAncestors},
      {bfBrowseForComputer, kBifBrowseForComputer}, {bfBrowseForPrinter, kBifBrowseForPrinter},
      {bfBrowseIncludeFiles, kBifBrowseIncludeFiles}};
  TFolderBrowseRequest request;
  request.Owner = FOwner ? FOwner->Handle : 0;
  request.Text = Text;
  for (const auto& [option, flag] : kFlags)
    if (FOptions & option) request.Flags |= flag;
  request.Root = SpecialFolderOf(RootFolder);
  request.Directory = FDirectory;
  request.LastResult = FLastResult;
  request.Placement = (FOptions & bfParentCenter)   ? TBrowsePlacement::ParentCenter
                      : (FOptions & bfScreenCenter) ? TBrowsePlacement::ScreenCenter
                                                    : TBrowsePlacement::AtPoint;
  request.Left = Left;
  request.Top = Top;

  TFolderBrowseEvents events;
  events.Initialized = [this](IFolderBrowseWindow& window) { Initialized(window); };
  events.SelectionChanged = [this](IFolderBrowseWindow&, const std::string& path) {
    SelectionChanged(path);
  };
  events.Destroyed = [this] {
    if (OnClose) OnClose(*this);
    FWindow = nullptr;
  };

  TFolderBrowseResult result;
  bool confirmed = false;
  try {
    confirmed = dialogs->BrowseForFolder(request, events, result);
  } catch (...) {
    FWindow = nullptr;
    FSelection.clear();
    throw;
  }
  FWindow = nullptr;
  FSelection.clear();
  if (!confirmed) {
    FDirectory.clear();
    return false;
  }
  FLastResult = result.Item;
  FImageIndex = result.ImageIndex;
  FDisplayName = result.DisplayName;
  FDirectory = result.Path;
  return true;
}

void TFolderDialog::Initialized(IFolderBrowseWindow& window) {
  FWindow = &window;
  FSelection.clear();
  // The system selects Directory (or the item chosen last time, when it is
  // that folder); the item chosen last time is used once.
  if (!FDirectory.empty()) window.Select(FDirectory);
  FLastResult.reset();
  window.SetCaption(FTitle);
  if (OnShow) OnShow(*this);
}

void TFolderDialog::SelectionChanged(const std::string& path) {
  FSelection = path;
  if (FOptions & bfFileSysDirsOnly) EnableOK(!path.empty());
  if (!path.empty()) {
    if (FOptions & bfShowPathInStatusArea) SetStatusText(path);
    if (OnChange) OnChange(*this);
  } else if (FOptions & (bfFileSysDirsOnly | bfShowPathInStatusArea)) {
    SetStatusText("");
  }
}

void TFolderDialog::EnableOK(bool Value) {
  if (FWindow) FWindow->EnableOK(Value);
}

void TFolderDialog::SetStatusText(const std::string& Value) {
  FStatusText = Value;
  if (FWindow) FWindow->SetStatusText(Value, (FOptions & bfShowPathInStatusArea) != 0);
}

}  // namespace bx
