// The common dialogs and the memory figures over the real system: each
// dialog is shown and answered as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include "ThreadWindows.h"
#include "platform/win32/WinCommonDialogs.h"
#include "platform/win32/WinMemoryStatus.h"
#include "tests/wine/WineTestUtil.h"

namespace bx {
namespace {

void PressButton(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::string TempFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::string folder = Narrow(std::wstring(temp));
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::wstring CurrentFolder() {
  wchar_t folder[MAX_PATH * 2] = {};
  GetCurrentDirectoryW(MAX_PATH * 2, folder);
  return folder;
}

TEST(WinCommonDialogs, TheColourDialogAnswersTheChosenColourOrCancel) {
  ICommonDialogs& dialogs = WinCommonDialogs();
  TColorDialogRequest request;
  request.Color = RGB(10, 20, 30);
  request.FullOpen = true;
  bool confirmed = false;
  HWND shown = wine::WhileShown(
      L"Color", [&] { confirmed = dialogs.PickColor(request); },
      [](HWND dialog) { PressButton(dialog, IDOK); });
  ASSERT_TRUE(shown);
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(request.Color, static_cast<std::uint32_t>(RGB(10, 20, 30)));
  request.Color = RGB(1, 2, 3);
  shown = wine::WhileShown(
      L"Color", [&] { confirmed = dialogs.PickColor(request); },
      [](HWND dialog) { PressButton(dialog, IDCANCEL); });
  ASSERT_TRUE(shown);
  EXPECT_FALSE(confirmed);
  EXPECT_EQ(request.Color, static_cast<std::uint32_t>(RGB(1, 2, 3)));
}

TEST(WinCommonDialogs, TheFileDialogShowsItsTitleAndFilterAndCancels) {
  ICommonDialogs& dialogs = WinCommonDialogs();
  TOpenFileRequest request;
  request.Title = "Select an wallpaper image";
  request.Filter = {{"Bitmaps (*.bmp)", "*.bmp"}, {"Icons (*.ico)", "*.ico"}};
  request.InitialDir = TempFolder();
  request.FileName = "proposed.bmp";
  request.Flags = kOfnHideReadOnly | kOfnPathMustExist | kOfnFileMustExist;
  std::string fileName = "unchanged";
  bool confirmed = true;
  std::wstring fileType;
  const std::wstring before = CurrentFolder();
  HWND shown = wine::WhileShown(
      L"Select an wallpaper image", [&] { confirmed = dialogs.OpenFile(request, fileName); },
      [&](HWND dialog) {
        Sleep(200);
        wchar_t text[128] = {};
        GetDlgItemTextW(dialog, cmb1, text, 127);  // the filter's combo box
        fileType = text;
        PressButton(dialog, IDCANCEL);
      });
  ASSERT_TRUE(shown);
  EXPECT_FALSE(confirmed);
  EXPECT_EQ(fileName, "unchanged");
  EXPECT_EQ(CurrentFolder(), before) << "the host's current folder stays";
  EXPECT_EQ(fileType, L"Bitmaps (*.bmp)");
}

TEST(WinCommonDialogs, TheFolderBrowserRunsItsCallbacksAndAnswersTheFolder) {
  ICommonDialogs& dialogs = WinCommonDialogs();
  const std::string folder = TempFolder();
  TFolderBrowseRequest request;
  request.Text = "Select a folder to display in the list of Walpapers";
  request.Flags = kBifReturnOnlyFsDirs | kBifStatusText;
  TFolderBrowseEvents events;
  std::vector<std::string> changes;
  int destroyed = 0;
  events.Initialized = [&](IFolderBrowseWindow& browser) {
    browser.SetCaption("Browse for a test folder");
    browser.Select(folder);
  };
  events.SelectionChanged = [&](IFolderBrowseWindow& browser, const std::string& path) {
    changes.push_back(path);
    browser.SetStatusText(path, true);
    browser.EnableOK(!path.empty());
  };
  events.Destroyed = [&] { ++destroyed; };
  TFolderBrowseResult chosen;
  bool confirmed = false;
  HWND shown = wine::WhileShown(
      L"Browse for a test folder", [&] { confirmed = dialogs.BrowseForFolder(request, events, chosen); },
      [](HWND dialog) {
        Sleep(200);
        PressButton(dialog, IDOK);
      });
  ASSERT_TRUE(shown);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), folder);
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(chosen.Path, folder);
  EXPECT_EQ(destroyed, 1);
}

TEST(WinMemoryStatus, AnswersTheMachinesFigures) {
  const TMemoryStatus status = WinMemoryStatus().GetMemoryStatus();
  EXPECT_GT(status.TotalPhys, 0u);
  EXPECT_LE(status.AvailPhys, status.TotalPhys);
  EXPECT_GT(status.TotalVirtual, 0u);
  EXPECT_LE(status.AvailVirtual, status.TotalVirtual);
}

}  // namespace
}  // namespace bx
