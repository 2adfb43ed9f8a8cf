#include "platform/portable/ScriptedDialogs.h"

#include <memory>

namespace bx {

void TScriptedBrowseWindow::Select(const std::string& path) {
  if (!path.empty() && FFiles.DirectoryExists(path)) MoveTo(path);
}

void TScriptedBrowseWindow::MoveTo(const std::string& path) {
  Selected = path;
  if (FEvents.SelectionChanged) FEvents.SelectionChanged(*this, path);
}

bool TScriptedDialogs::BrowseForFolder(const TFolderBrowseRequest& request,
                                       const TFolderBrowseEvents& events,
                                       TFolderBrowseResult& result) {
  BrowseRequests.push_back(request);
  TScriptedBrowseWindow window(FFiles, events);
  bool confirmed = false;
  // The events may throw, as the system's callbacks may not: the window
  // still goes, as the system's does when its owner reports an error.
  try {
    if (events.Initialized) events.Initialized(window);
    confirmed = OnBrowse && !window.Closed && OnBrowse(window) && window.OkEnabled &&
                !window.Closed;
  } catch (...) {
    if (events.Destroyed) events.Destroyed();
    throw;
  }
  if (events.Destroyed) events.Destroyed();
  if (!confirmed) return false;
  result.Path = window.Selected;
  result.DisplayName = window.Selected.substr(window.Selected.find_last_of('\\') + 1);
  result.ImageIndex = 0;
  result.Item = std::make_shared<const std::string>(window.Selected);
  return true;
}

bool TScriptedDialogs::OpenFile(const TOpenFileRequest& request, std::string& fileName) {
  OpenRequests.push_back(request);
  return OnOpenFile && OnOpenFile(request, fileName);
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

}  // namespace bx
