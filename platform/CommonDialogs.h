// The platform's common dialogs: the colour dialog, the file-open dialog and
// the folder browser with its callbacks. Each runs modally over its owner
// window and answers whether the user confirmed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bx {

struct TColorDialogRequest {
  std::uintptr_t Owner = 0;  // window handle, 0 for none
  std::uint32_t Color = 0;   // in: the initial colour; out: the chosen one (COLORREF)
  bool FullOpen = false;     // with the custom-colour part shown
};

struct TFileFilter {
  std::string Description;  // "Bitmaps (*.bmp)"
  std::string Masks;        // "*.bmp", several separated by ";"
};

struct TOpenFileRequest {
  std::uintptr_t Owner = 0;
  std::string Title;
  std::vector<TFileFilter> Filter;
  int FilterIndex = 1;  // 1 is the first filter
  std::string InitialDir;
  std::string FileName;  // in: proposed; out: the chosen file's full path
  bool HideReadOnly = true;
  bool PathMustExist = true;
  bool FileMustExist = true;
  bool NoTestFileCreate = true;
  bool Resizable = true;
  bool DontAddToRecent = true;
  bool NoPlacesBar = true;
};

// The folder browser while it is shown, for its callbacks.
class IBrowseWindow {
 public:
  virtual ~IBrowseWindow() = default;
  virtual void EnableOK(bool enable) = 0;
  // The status line's text, shortened to fit with "..." in the middle of a
  // path (pathEllipsis) or at the end.
  virtual void SetStatusText(const std::string& text, bool pathEllipsis) = 0;
  // Selects a folder of the tree by its path; false when the shell knows no
  // file-system folder of that path.
  virtual bool SetSelection(const std::string& path) = 0;
  virtual std::string Caption() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Outer bounds on the screen.
  virtual void GetBounds(int& left, int& top, int& width, int& height) = 0;
  // Moves the window without activating it or changing its size.
  virtual void MoveTo(int left, int top) = 0;
};

// Flags of the browse request, as the platform's BIF_* bits.
constexpr std::uint32_t kBifReturnOnlyFsDirs = 0x0001;
constexpr std::uint32_t kBifDontGoBelowDomain = 0x0002;
constexpr std::uint32_t kBifStatusText = 0x0004;
constexpr std::uint32_t kBifReturnFsAncestors = 0x0008;
constexpr std::uint32_t kBifBrowseForComputer = 0x1000;
constexpr std::uint32_t kBifBrowseForPrinter = 0x2000;
constexpr std::uint32_t kBifBrowseIncludeFiles = 0x4000;

struct TBrowseRequest {
  std::uintptr_t Owner = 0;
  std::string Text;         // the instruction above the tree
  std::uint32_t Flags = 0;  // kBif* bits
  int RootFolder = -1;      // a special folder (CSIDL number) as the tree's top; -1: the desktop
  // The browser is set up; its selection is the tree's top.
  std::function<void(IBrowseWindow&)> OnInitialized;
  // The item under the cursor changed; `path` is its file-system path, empty
  // for an item without one.
  std::function<void(IBrowseWindow&, const std::string& path)> OnSelectionChanged;
  // The browser's window has closed (before BrowseForFolder returns).
  std::function<void()> OnDestroyed;
};

class ICommonDialogs {
 public:
  virtual ~ICommonDialogs() = default;
  virtual bool PickColor(TColorDialogRequest& request) = 0;
  virtual bool OpenFile(TOpenFileRequest& request) = 0;
  // `folder` receives the chosen item's file-system path (empty when it has none).
  virtual bool BrowseForFolder(const TBrowseRequest& request, std::string& folder) = 0;
};

}  // namespace bx
