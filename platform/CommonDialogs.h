// The system's common dialogs that the applet uses: the colour dialog, the
// folder browser and the file-open dialog with a picture preview. Each runs
// modally over its owner and answers whether the user confirmed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace bx {

class TPixelBuffer;

// ---- Colour dialog ---------------------------------------------------------------

struct TColorDialogRequest {
  std::uintptr_t Owner = 0;  // window handle, 0 for the active window
  std::uint32_t Color = 0;   // in: the initial colour; out: the chosen one (COLORREF)
  bool FullOpen = false;     // with the custom-colour part shown
};

// ---- Folder browser ------------------------------------------------------------

// The browse request's flags, as the system's BIF_* values.
constexpr std::uint32_t kBifReturnOnlyFsDirs = 0x0001;
constexpr std::uint32_t kBifDontGoBelowDomain = 0x0002;
constexpr std::uint32_t kBifStatusText = 0x0004;
constexpr std::uint32_t kBifReturnFsAncestors = 0x0008;
constexpr std::uint32_t kBifBrowseForComputer = 0x1000;
constexpr std::uint32_t kBifBrowseForPrinter = 0x2000;
constexpr std::uint32_t kBifBrowseIncludeFiles = 0x4000;

enum class TBrowsePlacement { AtPoint, ScreenCenter, ParentCenter };

struct TFolderBrowseRequest {
  std::uintptr_t Owner = 0;  // window; 0 for none
  std::string Text;          // the instruction above the tree; empty for none
  std::uint32_t Flags = 0;
  int Root = -1;             // special folder (CSIDL) at the top; -1 the whole tree
  std::string Directory;     // the folder to select first; empty for none
  // The item chosen in the previous run: selected instead when Directory is its path.
  std::shared_ptr<const void> LastResult;
  TBrowsePlacement Placement = TBrowsePlacement::ParentCenter;
  int Left = 0, Top = 0;     // AtPoint: in the owner's client coordinates
};

// The browse window while it runs, for the requester's handlers.
class IFolderBrowseWindow {
 public:
  virtual ~IFolderBrowseWindow() = default;
  virtual void EnableOK(bool value) = 0;
  // Shortened to fit the status line: in the middle (a path) or at the end.
  virtual void SetStatusText(const std::string& text, bool pathEllipsis) = 0;
  virtual std::string Caption() = 0;
  virtual void SetCaption(const std::string& value) = 0;
  // Moves the selection to the folder of that path, when it can be found.
  virtual void Select(const std::string& path) = 0;
  // Closes the window as its close box does.
  virtual void Close() = 0;
};

struct TFolderBrowseEvents {
  std::function<void(IFolderBrowseWindow&)> Initialized;
  // The item under the cursor changed; `path` is empty for an item without
  // a file-system path.
  std::function<void(IFolderBrowseWindow&, const std::string& path)> SelectionChanged;
  std::function<void()> Destroyed;
};

struct TFolderBrowseResult {
  std::string Path;  // empty when the item has no file-system path
  std::string DisplayName;
  int ImageIndex = 0;
  std::shared_ptr<const void> Item;
};

// ---- File-open dialog ----------------------------------------------------------

// The open request's flags, as the system's OFN_* values.
constexpr std::uint32_t kOfnHideReadOnly = 0x00000004;
constexpr std::uint32_t kOfnPathMustExist = 0x00000800;
constexpr std::uint32_t kOfnFileMustExist = 0x00001000;
constexpr std::uint32_t kOfnNoTestFileCreate = 0x00010000;
constexpr std::uint32_t kOfnEnableSizing = 0x00800000;
constexpr std::uint32_t kOfnDontAddToRecent = 0x02000000;
constexpr std::uint32_t kOfnExNoPlacesBar = 0x00000001;

struct TOpenFileRequest {
  std::uintptr_t Owner = 0;
  std::string Title;
  // Pairs of description and masks ("*.gif;*.jpg").
  std::vector<std::pair<std::string, std::string>> Filter;
  int FilterIndex = 1;  // from 1
  std::string InitialDir;
  std::string FileName;
  std::uint32_t Flags = 0;
  std::uint32_t FlagsEx = 0;
  // When set, a pane beside the file list previews the selected file: the
  // event fits its picture into width x height pixels over `background`
  // and tells the picture's own size for the line under it; false when
  // there is nothing to show. It may throw: the pane then stays empty.
  std::function<bool(const std::string& fileName, int width, int height, std::uint32_t background,
                     TPixelBuffer& pixels, int& pictureWidth, int& pictureHeight)>
      PicturePreview;
};

class ICommonDialogs {
 public:
  virtual ~ICommonDialogs() = default;
  virtual bool PickColor(TColorDialogRequest& request) = 0;
  // Runs the folder browser modally; true with `result` when the user
  // confirmed an item.
  virtual bool BrowseForFolder(const TFolderBrowseRequest& request,
                               const TFolderBrowseEvents& events,
                               TFolderBrowseResult& result) = 0;
  // Runs the file-open dialog modally; true with the chosen file's full path.
  virtual bool OpenFile(const TOpenFileRequest& request, std::string& fileName) = 0;
};

}  // namespace bx
