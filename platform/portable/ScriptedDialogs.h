// The common dialogs of the portable build: a folder picker and a file
// chooser whose user is the test's script, with the same hooks as the
// system's dialogs.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/CommonDialogs.h"
#include "platform/Platform.h"

namespace bx {

// The running folder picker as the script sees it and drives it.
class TScriptedBrowseWindow : public IFolderBrowseWindow {
 public:
  TScriptedBrowseWindow(IFileSystem& files, const TFolderBrowseEvents& events)
      : FFiles(files), FEvents(events) {}

  void EnableOK(bool value) override { OkEnabled = value; }
  void SetStatusText(const std::string& text, bool pathEllipsis) override {
    StatusText = text;
    StatusPathEllipsis = pathEllipsis;
  }
  std::string Caption() override { return CaptionText; }
  void SetCaption(const std::string& value) override { CaptionText = value; }
  // Like the system's: an existing folder becomes the selection and the
  // change is reported; anything else leaves the selection.
  void Select(const std::string& path) override;
  void Close() override { Closed = true; }

  // ---- The user's moves
  // Moves to a folder, or with an empty path to an item without one (the
  // Control Panel, say).
  void MoveTo(const std::string& path);

  bool OkEnabled = true;
  std::string StatusText;
  bool StatusPathEllipsis = false;
  std::string CaptionText;
  std::string Selected;
  bool Closed = false;

 private:
  IFileSystem& FFiles;
  const TFolderBrowseEvents& FEvents;
};

class TScriptedDialogs : public ICommonDialogs {
 public:
  explicit TScriptedDialogs(IFileSystem& files) : FFiles(files) {}

  bool BrowseForFolder(const TFolderBrowseRequest& request, const TFolderBrowseEvents& events,
                       TFolderBrowseResult& result) override;
  bool OpenFile(const TOpenFileRequest& request, std::string& fileName) override;
  bool PickColor(TColorDialogRequest& request) override;

  // The user's part while the picker runs: true confirms the selection,
  // which a disabled OK refuses (the picker is then cancelled). Without a
  // script the picker is cancelled.
  std::function<bool(TScriptedBrowseWindow&)> OnBrowse;
  std::vector<TFolderBrowseRequest> BrowseRequests;
  // The user's part in the file chooser: true with the chosen file.
  std::function<bool(const TOpenFileRequest&, std::string& fileName)> OnOpenFile;
  std::vector<TOpenFileRequest> OpenRequests;
  // The colour picker answers with these colours in order; with none left,
  // or at a nullopt, it is cancelled.
  std::deque<std::optional<std::uint32_t>> ColorAnswers;
  std::vector<TColorDialogRequest> ColorRequests;

 private:
  IFileSystem& FFiles;
};

}  // namespace bx
