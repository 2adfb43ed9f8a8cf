// The Windows services of the logic over the real system: message boxes,
// files and the desktop figures.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Errors.h"
#include "platform/win32/DesktopSize.h"
#include "platform/win32/WinFiles.h"
#include "platform/win32/WinMessageBoxes.h"
#include "platform/win32/WinSystem.h"

#include <windows.h>

#include <string>
#include <vector>

#include "ThreadWindows.h"
#include "platform/win32/Text.h"
#include "tests/wine/WineTestUtil.h"

// The interface's names, not the system's ANSI/wide macros.
#undef DeleteFile
#undef GetWindowsDirectory

namespace bx::wine {
namespace {

struct TShownBox {
  HWND Window = nullptr;
  HWND Owner = nullptr;
  std::vector<std::wstring> Buttons;
  std::wstring DefaultButton;
  std::wstring FocusedButton;
  std::wstring Text;
};

// Shows a box and answers it with `answer` once it is visible.
TMsgDlgBtn Ask(const std::wstring& title, const std::string& text, TMsgDlgType type,
               const TMsgDlgButtons& buttons, const std::function<void(const TShownBox&)>& answer,
               TShownBox& shown) {
  TMsgDlgBtn result = TMsgDlgBtn::mbOK;
  const DWORD thread = GetCurrentThreadId();
  shown.Window = WhileShown(
      title, [&] { result = WinMessageBoxes().MessageDlg(text, type, buttons); },
      [&](HWND box) {
        Sleep(100);  // let the box finish its layout
        shown.Window = box;
        shown.Owner = GetWindow(box, GW_OWNER);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(thread, &gui);
        for (HWND b : ChildrenOfClass(box, L"Button")) {
          shown.Buttons.push_back(WindowText(b));
          if (GetWindowLongW(b, GWL_STYLE) & BS_DEFPUSHBUTTON) shown.DefaultButton = WindowText(b);
          if (b == gui.hwndFocus) shown.FocusedButton = WindowText(b);
        }
        for (HWND s : ChildrenOfClass(box, L"Static"))
          if (!WindowText(s).empty()) shown.Text = WindowText(s);
        answer(shown);
      });
  return result;
}

void PressKey(HWND box, UINT key) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gui);
  HWND target = gui.hwndFocus ? gui.hwndFocus : box;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

void ClickButton(HWND box, const std::wstring& caption) {
  for (HWND b : ChildrenOfClass(box, L"Button"))
    if (WindowText(b) == caption) PostMessageW(b, BM_CLICK, 0, 0);
}

const TMsgDlgButtons kConfirmButtons = {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbCancel,
                                        TMsgDlgBtn::mbYesToAll};

TEST(WinMessageBoxes, ConfirmationShowsYesCancelYesToAll) {
  TShownBox shown;
  const TMsgDlgBtn answer =
      Ask(L"Confirm", "First line\rSecond line\twith a tab", TMsgDlgType::mtConfirmation,
          {TMsgDlgBtn::mbYesToAll, TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbYes},
          [](const TShownBox& box) { PressKey(box.Window, VK_RETURN); }, shown);
  ASSERT_NE(shown.Window, nullptr);
  EXPECT_EQ(shown.Buttons, (std::vector<std::wstring>{L"&Yes", L"Cancel", L"Yes to &All"}));
  EXPECT_EQ(shown.DefaultButton, L"&Yes");
  EXPECT_EQ(shown.FocusedButton, L"&Yes");
  EXPECT_EQ(shown.Text, L"First line\r\nSecond line\twith a tab");
  EXPECT_EQ(answer, TMsgDlgBtn::mbYes);  // Enter answers the default button
  EXPECT_FALSE(IsWindow(shown.Window));
}

TEST(WinMessageBoxes, EscapeAndTheCloseBoxAnswerCancel) {
  TShownBox shown;
  EXPECT_EQ(Ask(L"Confirm", "Esc", TMsgDlgType::mtConfirmation, kConfirmButtons,
                [](const TShownBox& box) { PressKey(box.Window, VK_ESCAPE); }, shown),
            TMsgDlgBtn::mbCancel);
  ASSERT_NE(shown.Window, nullptr);
  TShownBox closed;
  EXPECT_EQ(Ask(L"Confirm", "Close box", TMsgDlgType::mtConfirmation, kConfirmButtons,
                [](const TShownBox& box) {
                  PostMessageW(box.Window, WM_SYSCOMMAND, SC_CLOSE, 0);
                }, closed),
            TMsgDlgBtn::mbCancel);
  ASSERT_NE(closed.Window, nullptr);
  TShownBox cancelled;
  EXPECT_EQ(Ask(L"Confirm", "Cancel", TMsgDlgType::mtConfirmation, kConfirmButtons,
                [](const TShownBox& box) { ClickButton(box.Window, L"Cancel"); }, cancelled),
            TMsgDlgBtn::mbCancel);
  TShownBox all;
  EXPECT_EQ(Ask(L"Confirm", "All", TMsgDlgType::mtConfirmation, kConfirmButtons,
                [](const TShownBox& box) { ClickButton(box.Window, L"Yes to &All"); }, all),
            TMsgDlgBtn::mbYesToAll);
  TShownBox key;
  EXPECT_EQ(Ask(L"Confirm", "Access key", TMsgDlgType::mtConfirmation, kConfirmButtons,
                [](const TShownBox& box) {
                  HWND focus = nullptr;
                  for (HWND b : ChildrenOfClass(box.Window, L"Button"))
                    if (WindowText(b) == L"&Yes") focus = b;
                  PostMessageW(focus, WM_CHAR, 'a', 1);
                }, key),
            TMsgDlgBtn::mbYesToAll);
}

TEST(WinMessageBoxes, InformationAndErrorShowOkAlone) {
  TShownBox info;
  EXPECT_EQ(Ask(L"Information", "There are no version information to display!",
                TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK},
                [](const TShownBox& box) { ClickButton(box.Window, L"OK"); }, info),
            TMsgDlgBtn::mbOK);
  ASSERT_NE(info.Window, nullptr);
  EXPECT_EQ(info.Buttons, (std::vector<std::wstring>{L"OK"}));
  EXPECT_EQ(info.DefaultButton, L"OK");
  EXPECT_EQ(info.Text, L"There are no version information to display!");

  TShownBox error;
  EXPECT_EQ(Ask(L"Error", "Unknown picture file extension (.xyz)", TMsgDlgType::mtError,
                {TMsgDlgBtn::mbOK}, [](const TShownBox& box) { PressKey(box.Window, VK_RETURN); },
                error),
            TMsgDlgBtn::mbOK);
  ASSERT_NE(error.Window, nullptr);
  EXPECT_EQ(error.Buttons, (std::vector<std::wstring>{L"OK"}));
}

TEST(WinMessageBoxes, OwnedByTheActiveWindow) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  SetActiveWindow(owner);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  const HWND active = GetActiveWindow();
  TShownBox shown;
  Ask(L"Information", "Owned", TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK},
      [](const TShownBox& box) { PressKey(box.Window, VK_ESCAPE); }, shown);
  ASSERT_NE(shown.Window, nullptr);
  if (active == owner) EXPECT_EQ(shown.Owner, owner);
  EXPECT_NE(active, nullptr) << "no window became active; the owner was not checked";
  DestroyWindow(owner);
}

// A fresh folder under the temporary folder, removed at the end.
class WinFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    FFolder = Narrow(std::wstring(temp)) + "bx-files-" + std::to_string(GetCurrentProcessId()) +
              "-" + std::to_string(GetTickCount64());
    ASSERT_TRUE(CreateDirectoryW(Widen(FFolder).c_str(), nullptr));
  }
  void TearDown() override {
    for (const std::string& name : Names()) {
      const std::wstring path = Widen(FFolder + "\\" + name);
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(Widen(FFolder + "\\sub").c_str());
    RemoveDirectoryW(Widen(FFolder).c_str());
  }
  std::string Path(const std::string& name) const { return FFolder + "\\" + name; }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Widen(FFolder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L".." && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        names.push_back(Narrow(name));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
  }
  static std::string ErrorOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const Exception& e) {
      return e.Message();
    }
    return "";
  }

  std::string FFolder;
};

TEST_F(WinFilesTest, WritesByReplacingAndReadsBack) {
  IFileSystem& files = WinFiles();
  const std::string file = Path("KVF of Mobrelin.bmp");
  const std::vector<std::uint8_t> first{'B', 'M', 1, 2, 3};
  files.WriteFileReplacing(file, first);
  EXPECT_EQ(files.ReadFile(file), first);
  const std::vector<std::uint8_t> second(70000, 0x5A);
  files.WriteFileReplacing(file, second);
  EXPECT_EQ(files.ReadFile(file), second);
  EXPECT_EQ(Names(), (std::vector<std::string>{"KVF of Mobrelin.bmp"}));  // no temporaries left
  FileStamp stamp;
  ASSERT_TRUE(files.GetFileStamp(file, stamp));
  EXPECT_EQ(stamp.size, 70000u);
  EXPECT_NE(stamp.lastWrite, 0);
  files.WriteFileReplacing(file, {});
  EXPECT_TRUE(files.ReadFile(file).empty());

  // Names in any script.
  const std::string unicode = Path("Bilde \xC3\xB8 \xE6\x97\xA5\xE6\x9C\xAC.bmp");
  files.WriteFileReplacing(unicode, first);
  EXPECT_TRUE(files.FileExists(unicode));
  EXPECT_EQ(files.ReadFile(unicode), first);
  EXPECT_TRUE(files.DeleteFile(unicode));
  EXPECT_FALSE(files.FileExists(unicode));
  EXPECT_FALSE(files.DeleteFile(unicode));
}

TEST_F(WinFilesTest, FailedWritesKeepTheOldFile) {
  IFileSystem& files = WinFiles();
  const std::string file = Path("locked.bmp");
  files.WriteFileReplacing(file, {1, 2, 3});
  {
    // Another program holds the old file open and lets nobody replace it.
    HANDLE held = CreateFileW(Widen(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([&] { files.WriteFileReplacing(file, {9, 9}); }),
              "Cannot create file " + file);
    CloseHandle(held);
  }
  EXPECT_EQ(files.ReadFile(file), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"locked.bmp"}));

  // A folder in the file's place is never replaced.
  ASSERT_TRUE(CreateDirectoryW(Widen(Path("sub")).c_str(), nullptr));
  EXPECT_EQ(ErrorOf([&] { files.WriteFileReplacing(Path("sub"), {1}); }),
            "Cannot create file " + Path("sub"));
  EXPECT_TRUE(files.DirectoryExists(Path("sub")));
  EXPECT_EQ(Names(), (std::vector<std::string>{"locked.bmp"}));

  const std::string nowhere = Path("missing\\x.bmp");
  EXPECT_EQ(ErrorOf([&] { files.WriteFileReplacing(nowhere, {1}); }),
            "Cannot create file " + nowhere);
  EXPECT_EQ(ErrorOf([&] { files.ReadFile(Path("absent.jpg")); }),
            "Cannot open file " + Path("absent.jpg"));
  EXPECT_EQ(ErrorOf([&] { files.ReadFile(FFolder); }), "Cannot open file " + FFolder);
}

TEST_F(WinFilesTest, ExistenceTellsFilesFromFolders) {
  IFileSystem& files = WinFiles();
  ASSERT_TRUE(CreateDirectoryW(Widen(Path("sub")).c_str(), nullptr));
  files.WriteFileReplacing(Path("a.gif"), {'G'});
  EXPECT_TRUE(files.FileExists(Path("a.gif")));
  EXPECT_FALSE(files.DirectoryExists(Path("a.gif")));
  EXPECT_FALSE(files.FileExists(Path("sub")));
  EXPECT_TRUE(files.DirectoryExists(Path("sub")));
  EXPECT_FALSE(files.FileExists(Path("none")));
  EXPECT_FALSE(files.DirectoryExists(Path("none")));
  FileStamp stamp;
  EXPECT_FALSE(files.GetFileStamp(Path("sub"), stamp));
  EXPECT_FALSE(files.GetFileStamp(Path("none"), stamp));

  const std::string windows = files.GetWindowsDirectory();
  EXPECT_FALSE(windows.empty());
  EXPECT_TRUE(files.DirectoryExists(windows));
}

TEST_F(WinFilesTest, AFolderIsListedWithItsFoldersAndFiles) {
  IFileSystem& files = WinFiles();
  ASSERT_TRUE(CreateDirectoryW(Widen(Path("sub")).c_str(), nullptr));
  files.WriteFileReplacing(Path("b.JPG"), {'J'});
  files.WriteFileReplacing(Path("a.gif"), {'G'});
  std::vector<TFileEntry> all = files.ListFolder(Path(""));
  std::sort(all.begin(), all.end(),
            [](const TFileEntry& a, const TFileEntry& b) { return a.Name < b.Name; });
  ASSERT_EQ(all.size(), 3u) << "no . and ..";
  EXPECT_EQ(all[0].Name, "a.gif");
  EXPECT_EQ(all[1].Name, "b.JPG");
  EXPECT_EQ(all[2].Name, "sub");
  for (const TFileEntry& entry : all)
    EXPECT_EQ((entry.Attributes & kFaDirectory) != 0, entry.Name == "sub") << entry.Name;
  EXPECT_TRUE(files.ListFolder(Path("none")).empty());
}

TEST(WinSystem, AnswersFromTheRealSystem) {
  ISystem& system = WinSystem();
  const std::vector<std::string> args = system.CommandLineArgs();
  ASSERT_FALSE(args.empty());
  EXPECT_NE(args[0].find("wine_tests"), std::string::npos) << args[0];
  EXPECT_TRUE(system.IsWindows95OrNT());
  HDC dc = GetDC(nullptr);
  EXPECT_EQ(system.DisplayColorDepth(), GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES));
  EXPECT_EQ(system.LogPixelsPerInchX(), GetDeviceCaps(dc, LOGPIXELSX));
  ReleaseDC(nullptr, dc);
  EXPECT_GT(system.DisplayColorDepth(), 0);
  EXPECT_EQ(system.GetSystemMetrics(kSmCxScreen), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(system.GetSysColor(kColorBtnFace), GetSysColor(COLOR_BTNFACE));
  const std::uint64_t t = system.TickCountMs();
  Sleep(20);
  EXPECT_GT(system.TickCountMs(), t);
}

// A 3840 x 2160 display at 150 %: the system tells a host unaware of the
// scaling 2560 x 1440. Wine scales nothing for such a process, so the
// system's side is played here.
namespace scaled {
const HANDLE kUnaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x11));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
HANDLE gContext = kUnaware;  // the thread's awareness
int gSetCalls = 0;
bool gRefuse = false;
HANDLE WINAPI SetContext(HANDLE context) {
  ++gSetCalls;
  if (gRefuse) return nullptr;
  HANDLE previous = gContext;
  gContext = context;
  return previous;
}
int WINAPI Metrics(int index) {
  const bool aware = gContext == kPerMonitorAware;
  return index == SM_CXVIRTUALSCREEN ? (aware ? 3840 : 2560) : (aware ? 2160 : 1440);
}
int Caps(int index) {
  switch (index) {
    case HORZRES: return 2560;
    case VERTRES: return 1440;
    case DESKTOPHORZRES: return 3840;
    case DESKTOPVERTRES: return 2160;
    default: return 0;
  }
}
}  // namespace scaled

TEST(DesktopSize, PhysicalPixelsAtAnyScaling) {
  // Asked as a thread aware of the scaling, which is put back after.
  TDesktopSizeCalls calls{scaled::SetContext, scaled::Metrics, scaled::Caps};
  EXPECT_EQ(PhysicalSystemMetric(SM_CXVIRTUALSCREEN, calls), 3840);
  EXPECT_EQ(PhysicalSystemMetric(SM_CYVIRTUALSCREEN, calls), 2160);
  EXPECT_EQ(scaled::gSetCalls, 4);
  EXPECT_EQ(scaled::gContext, scaled::kUnaware);
  // A system without thread awareness, or one that refuses it: the
  // screen's physical size scales the answer.
  for (bool refuse : {false, true}) {
    scaled::gRefuse = refuse;
    calls.SetThreadDpiAwarenessContext = refuse ? scaled::SetContext : nullptr;
    EXPECT_EQ(PhysicalSystemMetric(SM_CXVIRTUALSCREEN, calls), 3840);
    EXPECT_EQ(PhysicalSystemMetric(SM_CYVIRTUALSCREEN, calls), 2160);
  }
  // Unscaled, the figures stay.
  calls.ScreenCaps = [](int index) { return index == HORZRES || index == DESKTOPHORZRES ? 2560 : 1440; };
  EXPECT_EQ(PhysicalSystemMetric(SM_CXVIRTUALSCREEN, calls), 2560);

  // The real system, unscaled here, and the desktop service that uses it.
  EXPECT_EQ(PhysicalSystemMetric(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(WinSystem().GetSystemMetrics(kSmCxVirtualScreen), GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(WinSystem().GetSystemMetrics(kSmCyVirtualScreen), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  // Wine's desktop knows itself, with the virtual screen around the primary.
  const TDesktopLayout layout = WinSystem().DesktopLayout();
  EXPECT_EQ(layout.Host, TWallpaperHost::Wine);
  EXPECT_EQ(layout.Left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(layout.Top, GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_EQ(layout.Width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(layout.PrimaryHeight, GetSystemMetrics(SM_CYSCREEN));
}

// The desktop figures on a display that the system scales: this program
// started again in a prefix whose display runs at 144 dots per inch (150 %),
// which the system reads when a process starts. The second run makes the
// checks; this one sets the scale, waits for it and puts the scale back.
// Wine makes a process aware of each monitor's scaling unless told
// otherwise; the second run's thread is made unaware of it, as a host's
// thread is that declares nothing.
constexpr wchar_t kScaledRun[] = L"BX_SCALED_DISPLAY_RUN";

TEST(DesktopSize, PhysicalPixelsOnAScaledDisplay) {
  if (GetEnvironmentVariableW(kScaledRun, nullptr, 0)) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    ASSERT_TRUE(EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    const int width = static_cast<int>(mode.dmPelsWidth), height = static_cast<int>(mode.dmPelsHeight);
    const TDesktopSizeCalls system = SystemDesktopSizeCalls();
    ASSERT_TRUE(system.SetThreadDpiAwarenessContext);
    const HANDLE unawareContext = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));
    const HANDLE before = system.SetThreadDpiAwarenessContext(unawareContext);
    ASSERT_TRUE(before);
    // The system answers this thread in pixels of 96 dots per inch, two
    // thirds of the display's own.
    const int unaware = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    EXPECT_EQ(unaware, MulDiv(width, 96, 144)) << "the display is not scaled";
    EXPECT_EQ(WinSystem().GetSystemMetrics(kSmCxVirtualScreen), width);
    EXPECT_EQ(WinSystem().GetSystemMetrics(kSmCyVirtualScreen), height);
    EXPECT_EQ(PhysicalSystemMetric(SM_CXSCREEN), width);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), unaware) << "the thread's awareness is put back";
    system.SetThreadDpiAwarenessContext(before);
    return;
  }
  const DWORD code =
      winetest::RunAtPixelsPerInch(144, L"DesktopSize.PhysicalPixelsOnAScaledDisplay", kScaledRun);
  EXPECT_EQ(code, 0u) << "the run on the scaled display failed (its report is above)";
}

}  // namespace
}  // namespace bx::wine
