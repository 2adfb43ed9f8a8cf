// The common dialogs and the memory figures over the real system: each
// dialog is shown and answered as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include "ThreadWindows.h"
#include "platform/win32/DesktopSize.h"
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

TEST(WinCommonDialogs, TheFolderBrowserSitsOverItsOwnerAndFitsItsStatusLineToItsFont) {
  ICommonDialogs& dialogs = WinCommonDialogs();
  // A path far too long for the status line, in a font far larger than
  // the window's own.
  std::string folder = TempFolder() + "\\bexora-a-rather-long-folder-name-for-the-status-line";
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  folder += "\\pics";
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  HFONT large = CreateFontW(-40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
  HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPED | WS_VISIBLE, 40, 30, 600,
                               400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(owner);

  TFolderBrowseRequest request;
  request.Owner = reinterpret_cast<std::uintptr_t>(owner);
  request.Flags = kBifReturnOnlyFsDirs | kBifStatusText;
  request.Placement = TBrowsePlacement::ParentCenter;
  TFolderBrowseEvents events;
  HWND status = nullptr;
  events.Initialized = [&](IFolderBrowseWindow& browser) {
    browser.SetCaption("Browse with a status line");
    if (HWND window = FindWindowW(L"#32770", L"Browse with a status line")) {
      status = GetDlgItem(window, 0x3743);
      if (status) SendMessageW(status, WM_SETFONT, reinterpret_cast<WPARAM>(large), FALSE);
    }
    browser.Select(folder);
  };
  std::string last;
  events.SelectionChanged = [&](IFolderBrowseWindow& browser, const std::string& path) {
    last = path;
    browser.SetStatusText(path, true);
  };
  RECT placed{};
  std::wstring shown;
  int shownWidth = 0, lineWidth = 0;
  TFolderBrowseResult chosen;
  HWND window = wine::WhileShown(
      L"Browse with a status line", [&] { dialogs.BrowseForFolder(request, events, chosen); },
      [&](HWND dialog) {
        Sleep(300);
        GetWindowRect(dialog, &placed);
        if (status) {
          shown = wine::WindowText(status);
          HDC dc = GetDC(status);
          HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(status, WM_GETFONT, 0, 0)));
          SIZE extent{};
          GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
          SelectObject(dc, old);
          ReleaseDC(status, dc);
          RECT line{};
          GetClientRect(status, &line);
          shownWidth = extent.cx;
          lineWidth = line.right;
        }
        PressButton(dialog, IDCANCEL);
      });
  ASSERT_TRUE(window);
  ASSERT_TRUE(status) << "the browse window's status line";
  EXPECT_EQ(last, folder);
  // Shortened in the middle of the path, and as wide as the line at most
  // in the line's own font.
  EXPECT_FALSE(shown.empty());
  EXPECT_NE(shown.find(L"..."), std::wstring::npos) << std::string(shown.begin(), shown.end());
  EXPECT_LE(shownWidth, lineWidth);
  EXPECT_GT(shownWidth, lineWidth / 3) << "shortened no more than needed";
  // Horizontally centred on the owner, a quarter of its height below its
  // top, inside the owner's monitor's work area.
  RECT ownerRect{};
  GetWindowRect(owner, &ownerRect);
  const int width = placed.right - placed.left;
  const RECT work = WorkAreaOf(owner);
  const POINT expected = KeptInside({ownerRect.left + 300 - width / 2, ownerRect.top + 100},
                                    {width, placed.bottom - placed.top}, work);
  EXPECT_EQ(placed.left, expected.x);
  EXPECT_EQ(placed.top, expected.y);
  DestroyWindow(owner);
  DeleteObject(large);
  RemoveDirectoryW(Widen(folder).c_str());
  RemoveDirectoryW(Widen(folder.substr(0, folder.rfind('\\'))).c_str());

  // The area kept to is the given monitor's, wherever it lies: a second
  // monitor right of the primary one, and one left of it.
  const RECT second{1920, 0, 3840, 1040};
  EXPECT_EQ(KeptInside({3600, 900}, {400, 300}, second).x, 3440);
  EXPECT_EQ(KeptInside({3600, 900}, {400, 300}, second).y, 740);
  EXPECT_EQ(KeptInside({2000, 100}, {400, 300}, second).x, 2000);
  const RECT left{-1280, -200, 0, 824};
  EXPECT_EQ(KeptInside({-1400, -300}, {400, 300}, left).x, -1280);
  EXPECT_EQ(KeptInside({-1400, -300}, {400, 300}, left).y, -200);
  EXPECT_EQ(KeptInside({-100, 0}, {400, 300}, left).x, -400);
  // Larger than the area: its top left corner.
  EXPECT_EQ(KeptInside({10, 10}, {4000, 3000}, second).x, 1920);
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
