// The about box over the real dialog of the built Bexora.cpl: opened by
// the About command in this process and under control.exe, whose command
// line does not name the module.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <cpl.h>

#include <string>
#include <vector>

#include "ThreadWindows.h"
#include "tests/wine/WineTestUtil.h"

namespace bx::wine {
namespace {

using winetest::CaptureWindow;
using winetest::SaveBitmap;

std::wstring BuiltModule() {
  wchar_t full[MAX_PATH * 2] = {};
  GetFullPathNameW(L"Bexora.cpl", MAX_PATH * 2, full, nullptr);
  return full;
}

HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs = 20000) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  HWND found = nullptr;
  while (!(found = FindShownWindow(0, 0, caption)) && GetTickCount64() < deadline) Sleep(100);
  return found;
}

// The label texts of a box, left to right and top to bottom.
std::vector<std::wstring> StaticTexts(HWND box) {
  std::vector<std::wstring> texts;
  for (HWND s : ChildrenOfClass(box, L"Static")) texts.push_back(WindowText(s));
  return texts;
}

bool Holds(const std::vector<std::wstring>& texts, const std::wstring& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Looks at the about box of another thread or process: its labels, the
// number of rows in each view, and a picture of each view in build/.
void CheckAboutBox(HWND box, bool pictures) {
  const std::vector<std::wstring> labels = StaticTexts(box);
  EXPECT_TRUE(Holds(labels, L"1.2.3.21"));
  EXPECT_TRUE(Holds(labels, L"Bexora"));
  EXPECT_TRUE(Holds(labels, L"Change windows wallpaper settings"));
  const std::vector<HWND> lists = ChildrenOfClass(box, L"SysListView32");
  ASSERT_EQ(lists.size(), 1u);
  HWND list = lists[0];
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 7);  // the module's own entries
  if (pictures) SaveBitmap(CaptureWindow(box), "..\\AboutBoxVersion.bmp");
  HWND memory = nullptr;
  for (HWND b : ChildrenOfClass(box, L"Button"))
    if (WindowText(b) == L"&Memory") memory = b;
  ASSERT_NE(memory, nullptr);
  PostMessageW(memory, BM_CLICK, 0, 0);
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (IsWindowVisible(memory) && GetTickCount64() < deadline) Sleep(50);
  EXPECT_FALSE(IsWindowVisible(memory));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 6);  // the memory figures
  if (pictures) SaveBitmap(CaptureWindow(box), "..\\AboutBoxMemory.bmp");
}

TEST(AboutBox, OpensOverTheRealDialogWithTheModulesVersion) {
  HMODULE module = LoadLibraryW(BuiltModule().c_str());
  ASSERT_TRUE(module);
  auto cpl = reinterpret_cast<APPLET_PROC>(GetProcAddress(module, "CPlApplet"));
  ASSERT_TRUE(cpl);
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_EQ(cpl(owner, CPL_INIT, 0, 0), 1);
  bool seen = false;
  WhileShown(
      L"Bexora", [&] { cpl(owner, CPL_DBLCLK, 0, 0); },
      [&](HWND dialog) {
        // This program's command line names no module: the module's own file is used.
        PostMessageW(dialog, WM_SYSCOMMAND, 666, 0);
        if (HWND box = WaitForWindow(L"About - Bexora")) {
          seen = true;
          EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
          CheckAboutBox(box, true);
          PostMessageW(box, WM_CLOSE, 0, 0);
          const ULONGLONG deadline = GetTickCount64() + 5000;
          while (IsWindowVisible(box) && GetTickCount64() < deadline) Sleep(50);
        }
        PostMessageW(dialog, WM_CLOSE, 0, 0);
      },
      60000);
  EXPECT_TRUE(seen) << "no window captioned \"About - Bexora\" appeared";
  cpl(owner, CPL_STOP, 0, 0);
  cpl(owner, CPL_EXIT, 0, 0);
  DestroyWindow(owner);
  FreeLibrary(module);
}

TEST(AboutBox, OpensUnderControlExe) {
  std::wstring command = L"control.exe \"" + BuiltModule() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &process));
  HWND dialog = WaitForWindow(L"Bexora", 30000);
  EXPECT_NE(dialog, nullptr);
  if (dialog) {
    PostMessageW(dialog, WM_SYSCOMMAND, 666, 0);
    HWND box = WaitForWindow(L"About - Bexora");
    EXPECT_NE(box, nullptr) << "control.exe Bexora.cpl: no about box";
    if (box) {
      CheckAboutBox(box, false);
      PostMessageW(box, WM_CLOSE, 0, 0);
      Sleep(300);
    }
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace bx::wine
