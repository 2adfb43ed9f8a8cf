#include "platform/portable/ScriptedDialogs.h"

#include <algorithm>

namespace bx {

bool TScriptedBrowseWindow::SetSelection(const std::string& path) {
  if (!KnownFolders.empty() &&
      std::find(KnownFolders.begin(), KnownFolders.end(), path) == KnownFolders.end())
    return false;
  Selection = path;
  return true;
}

void TScriptedBrowseWindow::GetBounds(int& left, int& top, int& width, int& height) {
  left = Left;
  top = Top;
  width = Width;
  height = Height;
}

void TScriptedBrowseWindow::MoveTo(int left, int top) {
  Left = left;
  Top = top;
}

bool TScriptedDialogs::PickColor(TColorDialogRequest& request) {
  ColorRequests.push_back(request);
  if (ColorAnswers.empty()) return false;
  const std::optional<std::uint32_t> answer = ColorAnswers.front();
  ColorAnswers.pop_front();
  if (!answer) return false;
  request.Color = *answer;
  return true;
}

bool TScriptedDialogs::OpenFile(TOpenFileRequest& request) {
  FileRequests.push_back(request);
  if (FileAnswers.empty()) return false;
  const std::optional<std::string> answer = FileAnswers.front();
  FileAnswers.pop_front();
  if (!answer) return false;
  request.FileName = *answer;
  return true;
}

bool TScriptedDialogs::BrowseForFolder(const TBrowseRequest& request, std::string& folder) {
  BrowseRequests.push_back(request);
  folder.clear();
  TBrowseScript script;
  if (!BrowseScripts.empty()) {
    script = BrowseScripts.front();
    BrowseScripts.pop_front();
  } else {
    script.Confirm = false;
  }
  Browser.OKEnabled = true;
  Browser.Selection.clear();
  if (request.OnInitialized) request.OnInitialized(Browser);
  std::string current = Browser.Selection;
  for (const std::string& path : script.Paths) {
    current = path;
    Browser.Selection = path;
    // Without a path, the browser itself refuses OK when it wants file-system folders.
    if (request.Flags & kBifReturnOnlyFsDirs) Browser.OKEnabled = !path.empty();
    if (request.OnSelectionChanged) request.OnSelectionChanged(Browser, path);
  }
  if (script.WhileShown) script.WhileShown(Browser);
  if (request.OnDestroyed) request.OnDestroyed();
  if (!script.Confirm || !Browser.OKEnabled) return false;
  folder = current;
  return true;
}

}  // namespace bx
