// The common dialogs of the portable build: each request is recorded and
// answered by what the test scripted for it; a folder browser runs its
// callbacks over a scripted walk through folders.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace bx {

// The browser as the callbacks see it, with what they did to it.
class TScriptedBrowseWindow : public IBrowseWindow {
 public:
  void EnableOK(bool enable) override { OKEnabled = enable; }
  void SetStatusText(const std::string& text, bool) override { StatusText = text; }
  bool SetSelection(const std::string& path) override;
  std::string Caption() override { return WindowCaption; }
  void SetCaption(const std::string& caption) override { WindowCaption = caption; }
  void GetBounds(int& left, int& top, int& width, int& height) override;
  void MoveTo(int left, int top) override;

  bool OKEnabled = true;
  std::string StatusText;
  std::string WindowCaption = "Browse for Folder";
  std::string Selection;
  int Left = 0, Top = 0, Width = 320, Height = 340;
  // Folders SetSelection accepts; any when empty.
  std::vector<std::string> KnownFolders;
};

class TScriptedDialogs : public ICommonDialogs {
 public:
  bool PickColor(TColorDialogRequest& request) override;
  bool OpenFile(TOpenFileRequest& request) override;
  bool BrowseForFolder(const TBrowseRequest& request, std::string& folder) override;

  // Answers, taken in order; with none left a dialog is cancelled.
  std::deque<std::optional<std::uint32_t>> ColorAnswers;   // nullopt: cancel
  std::deque<std::optional<std::string>> FileAnswers;      // nullopt: cancel
  // A browse walks through Paths (each a selection change; "" for an item
  // without a path), then confirms the last one, or cancels when Confirm is
  // false or OK is disabled at the end.
  struct TBrowseScript {
    std::vector<std::string> Paths;
    bool Confirm = true;
    std::function<void(TScriptedBrowseWindow&)> WhileShown;
  };
  std::deque<TBrowseScript> BrowseScripts;

  std::vector<TColorDialogRequest> ColorRequests;
  std::vector<TOpenFileRequest> FileRequests;
  std::vector<TBrowseRequest> BrowseRequests;
  TScriptedBrowseWindow Browser;
};

}  // namespace bx
