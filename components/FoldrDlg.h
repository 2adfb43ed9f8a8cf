// TFolderDialog lets the user pick a folder in the system's folder browser.
// While the user moves through the tree it raises OnChange for every folder
// with a file-system path, and its owner may enable or disable OK.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/CommonDialogs.h"
#include "ui/Form.h"

namespace bx {

enum TFolderDialogOption : unsigned {
  bfFileSysDirsOnly = 1u << 0,
  bfDontGoBelowDomain = 1u << 1,
  bfStatusText = 1u << 2,
  bfFileSysAncestors = 1u << 3,
  bfBrowseForComputer = 1u << 4,
  bfBrowseForPrinter = 1u << 5,
  bfBrowseIncludeFiles = 1u << 6,
  bfShowPathInStatusArea = 1u << 7,
  bfSyncCustomButton = 1u << 8,
  bfAlignCustomButton = 1u << 9,
  bfScreenCenter = 1u << 10,
  bfParentCenter = 1u << 11,
  bfResizeCustomButton = 1u << 12,
};
using TFolderDialogOptions = unsigned;  // a set of TFolderDialogOption

enum class TShellFolder {
  sfoDesktopExpanded, sfoDesktop, sfoPrograms, sfoControlPanel, sfoPrinters, sfoPersonal,
  sfoFavorites, sfoStartup, sfoRecent, sfoSendto, sfoRecycleBin, sfoStartMenu,
  sfoDesktopDirectory, sfoMyComputer, sfoNetwork, sfoNetworkNeighborhood, sfoFonts,
  sfoTemplates, sfoCommonStartMenu, sfoCommonPrograms, sfoCommonStartup,
  sfoCommonDesktopDirectory, sfoAppData, sfoPrintHood,
};

// The system's special-folder number of a root, -1 for the whole tree.
int SpecialFolderOf(TShellFolder folder);

class TFolderDialog : public TObject {
 public:
  static constexpr TFolderDialogOptions kDefaultOptions =
      bfFileSysDirsOnly | bfStatusText | bfShowPathInStatusArea | bfSyncCustomButton |
      bfAlignCustomButton | bfParentCenter;

  // The owner's window owns the browse window.
  explicit TFolderDialog(TForm* owner = nullptr) : FOwner(owner) {}
  ~TFolderDialog() override;
  TFolderDialog(const TFolderDialog&) = delete;
  TFolderDialog& operator=(const TFolderDialog&) = delete;

  // Used when neither centring option is set.
  std::int16_t Top = 0;
  std::int16_t Left = 0;
  // The browse window's caption; while it runs, read from the window.
  std::string Title() const;
  void SetTitle(const std::string& value);
  // Before running: the folder to select first. While running: the folder
  // under the cursor. After running: the chosen folder, or empty.
  std::string Directory() const;
  void SetDirectory(const std::string& value);
  // The instruction above the tree.
  std::string Text;
  TFolderDialogOptions Options() const { return FOptions; }
  // Keeps the options consistent (see the .cpp).
  void SetOptions(TFolderDialogOptions value);
  TShellFolder RootFolder = TShellFolder::sfoDesktopExpanded;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;
  TNotifyEvent OnChange;

  // Runs the browse window modally; true when the user confirmed a folder.
  bool Execute();
  // While running: enables or disables the browse window's OK button.
  void EnableOK(bool Value);
  // Remembers the text and, while running, shows it in the status line.
  void SetStatusText(const std::string& Value);
  const std::string& DisplayName() const { return FDisplayName; }
  int ImageIndex() const { return FImageIndex; }
  bool Running() const { return FWindow != nullptr; }

 private:
  void Initialized(IFolderBrowseWindow& window);
  void SelectionChanged(const std::string& path);

  TForm* FOwner;
  std::string FTitle = "Browse for Folder";
  std::string FDirectory;
  TFolderDialogOptions FOptions = kDefaultOptions;
  IFolderBrowseWindow* FWindow = nullptr;
  std::string FSelection;  // the path under the cursor while running
  std::shared_ptr<const void> FLastResult;
  std::string FDisplayName;
  int FImageIndex = 0;
  std::string FStatusText;
};

}  // namespace bx
