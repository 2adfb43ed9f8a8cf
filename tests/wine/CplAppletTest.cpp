// The built Bexora.cpl as the Control Panel sees it: its one export, the
// messages of its protocol, its resources, and opening the applet.
#include <gtest/gtest.h>

#include <windows.h>

#include <cpl.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <string>
#include <vector>

#include "ThreadWindows.h"

namespace bx::wine {
namespace {

std::wstring ModulePath() {
  wchar_t full[MAX_PATH * 2] = {};
  GetFullPathNameW(L"Bexora.cpl", MAX_PATH * 2, full, nullptr);
  return full;
}

// The module loaded for one test, released at its end.
class TCplModule {
 public:
  TCplModule() {
    FModule = LoadLibraryW(ModulePath().c_str());
    if (FModule) FProc = reinterpret_cast<APPLET_PROC>(GetProcAddress(FModule, "CPlApplet"));
  }
  ~TCplModule() {
    if (FModule) FreeLibrary(FModule);
  }
  TCplModule(const TCplModule&) = delete;
  TCplModule& operator=(const TCplModule&) = delete;
  bool Loaded() const { return FModule && FProc; }
  HMODULE Module() const { return FModule; }
  LONG operator()(HWND window, UINT message, LPARAM p1 = 0, LPARAM p2 = 0) const {
    return FProc(window, message, p1, p2);
  }

 private:
  HMODULE FModule = nullptr;
  APPLET_PROC FProc = nullptr;
};

// A window standing in for the Control Panel's.
class TOwnerWindow {
 public:
  TOwnerWindow() {
    FWindow = CreateWindowExW(0, L"STATIC", L"Control Panel stand-in", WS_OVERLAPPED, 0, 0, 200,
                              100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~TOwnerWindow() {
    if (FWindow) DestroyWindow(FWindow);
  }
  TOwnerWindow(const TOwnerWindow&) = delete;
  TOwnerWindow& operator=(const TOwnerWindow&) = delete;
  HWND Get() const { return FWindow; }

 private:
  HWND FWindow = nullptr;
};

// The names the module exports, read from its export directory.
std::vector<std::string> ExportedNames(HMODULE module) {
  auto* base = reinterpret_cast<const std::uint8_t*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::vector<std::string> names;
  if (!dir.VirtualAddress) return names;
  auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    names.emplace_back(reinterpret_cast<const char*>(base + nameRvas[i]));
  EXPECT_EQ(exports->NumberOfFunctions, 1u);
  return names;
}

TEST(CplApplet, ExportsOnlyCPlApplet) {
  TCplModule cpl;
  ASSERT_TRUE(cpl.Loaded()) << "Bexora.cpl not loaded from the working directory";
  EXPECT_EQ(ExportedNames(cpl.Module()), (std::vector<std::string>{"CPlApplet"}));
  EXPECT_EQ(GetProcAddress(cpl.Module(), "_CPlApplet@16"), nullptr);
  EXPECT_EQ(GetProcAddress(cpl.Module(), "CPlApplet@16"), nullptr);
}

TEST(CplApplet, AnswersEveryMessageOfTheProtocol) {
  TCplModule cpl;
  ASSERT_TRUE(cpl.Loaded());
  TOwnerWindow owner;
  EXPECT_EQ(cpl(owner.Get(), CPL_INIT), 1);
  EXPECT_EQ(cpl(owner.Get(), CPL_GETCOUNT), 1);

  // CPL_INQUIRE leaves its record as it was.
  CPLINFO info;
  std::memset(&info, 0xCD, sizeof info);
  CPLINFO before = info;
  EXPECT_EQ(cpl(owner.Get(), CPL_INQUIRE, 0, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(std::memcmp(&info, &before, sizeof info), 0);

  // CPL_NEWINQUIRE writes the ANSI record and nothing past it.
  struct {
    NEWCPLINFOA Record;
    std::uint8_t Guard[64];
  } block;
  std::memset(&block, 0xCD, sizeof block);
  EXPECT_EQ(cpl(owner.Get(), CPL_NEWINQUIRE, 0, reinterpret_cast<LPARAM>(&block.Record)), 0);
  const NEWCPLINFOA& n = block.Record;
  EXPECT_EQ(n.dwSize, sizeof(NEWCPLINFOA));
#ifndef _WIN64
  EXPECT_EQ(n.dwSize, 244u);
#endif
  EXPECT_EQ(n.dwFlags, 0u);
  EXPECT_EQ(n.dwHelpContext, 0u);
  EXPECT_EQ(n.lData, 0);
  EXPECT_STREQ(n.szName, "Bexora");
  EXPECT_STREQ(n.szInfo, "Change windows wallpaper settings");
  EXPECT_EQ(n.szHelpFile[0], '\0');
  EXPECT_EQ(static_cast<std::uint8_t>(n.szHelpFile[1]), 0xCD);  // the rest is not touched
  for (std::uint8_t b : block.Guard) ASSERT_EQ(b, 0xCD);

  // The icon is the module's MAINICON, 32 x 32.
  ASSERT_NE(n.hIcon, nullptr);
  EXPECT_EQ(n.hIcon, LoadIconW(cpl.Module(), L"MAINICON"));
  ICONINFO icon{};
  ASSERT_TRUE(GetIconInfo(n.hIcon, &icon));
  EXPECT_TRUE(icon.fIcon);
  BITMAP bitmap{};
  ASSERT_TRUE(GetObjectW(icon.hbmColor ? icon.hbmColor : icon.hbmMask, sizeof bitmap, &bitmap));
  EXPECT_EQ(bitmap.bmWidth, 32);
  EXPECT_EQ(bitmap.bmHeight, icon.hbmColor ? 32 : 64);
  if (icon.hbmColor) DeleteObject(icon.hbmColor);
  DeleteObject(icon.hbmMask);

  // Applet numbers the module does not have leave the record alone.
  std::memset(&block, 0xCD, sizeof block);
  EXPECT_EQ(cpl(owner.Get(), CPL_NEWINQUIRE, 1, reinterpret_cast<LPARAM>(&block.Record)), 0);
  EXPECT_EQ(cpl(owner.Get(), CPL_NEWINQUIRE, -1, reinterpret_cast<LPARAM>(&block.Record)), 0);
  EXPECT_EQ(block.Record.dwSize, 0xCDCDCDCDu);
  EXPECT_EQ(cpl(owner.Get(), CPL_NEWINQUIRE, 0, 0), 0);
  EXPECT_EQ(cpl(owner.Get(), CPL_DBLCLK, 1), 0);
  EXPECT_EQ(cpl(owner.Get(), CPL_DBLCLK, 1000), 0);

  EXPECT_EQ(cpl(owner.Get(), CPL_SELECT, 0), 0);
  for (UINT message : {UINT{CPL_STOP}, 0u, 9u, 10u, 200u}) {
    SCOPED_TRACE(message);
    EXPECT_EQ(cpl(owner.Get(), message, 0, 0), 0);
  }
  EXPECT_EQ(cpl(owner.Get(), CPL_GETCOUNT), 1);
  EXPECT_EQ(cpl(owner.Get(), CPL_EXIT), 0);
}

TEST(CplApplet, ExitReleasesAndTheModuleLoadsAfresh) {
  {
    TCplModule cpl;
    ASSERT_TRUE(cpl.Loaded());
    EXPECT_EQ(cpl(nullptr, CPL_INIT), 1);
    EXPECT_EQ(cpl(nullptr, CPL_EXIT), 0);
    // Nothing should follow CPL_EXIT; when something does, there is no applet.
    EXPECT_EQ(cpl(nullptr, CPL_GETCOUNT), 0);
  }
  TCplModule again;
  ASSERT_TRUE(again.Loaded());
  EXPECT_EQ(again(nullptr, CPL_INIT), 1);
  EXPECT_EQ(again(nullptr, CPL_GETCOUNT), 1);
  EXPECT_EQ(again(nullptr, CPL_EXIT), 0);
}

// The raw bytes of one of the module's resources.
std::vector<std::uint8_t> Resource(HMODULE module, const wchar_t* type, const wchar_t* name) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
  return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(module, found));
}

TEST(CplApplet, CarriesItsGlyphsManifestAndVersion) {
  TCplModule cpl;
  ASSERT_TRUE(cpl.Loaded());
  struct TGlyph {
    const wchar_t* Name;
    int Width, Height;
  };
  const TGlyph glyphs[] = {
      {L"ORIGINTL", 13, 13}, {L"ORIGINT", 13, 13}, {L"ORIGINTR", 13, 13}, {L"ORIGINL", 13, 13},
      {L"ORIGINC", 13, 13},  {L"ORIGINR", 13, 13}, {L"ORIGINBL", 13, 13}, {L"ORIGINB", 13, 13},
      {L"ORIGINBR", 13, 13}, {L"OK", 36, 18},      {L"CANCEL", 36, 18},   {L"APPLY", 36, 19},
      {L"BGCOLOR", 20, 20},  {L"SpinUp", 9, 5},    {L"SpinDown", 9, 5},
  };
  for (const TGlyph& g : glyphs) {
    SCOPED_TRACE(testing::Message() << std::string(g.Name, g.Name + wcslen(g.Name)));
    const std::vector<std::uint8_t> bits = Resource(cpl.Module(), RT_BITMAP, g.Name);
    ASSERT_GE(bits.size(), sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bits.data(), sizeof header);
    EXPECT_EQ(header.biWidth, g.Width);
    EXPECT_EQ(header.biHeight, g.Height);
    EXPECT_EQ(header.biBitCount, 4);
    HBITMAP loaded = LoadBitmapW(cpl.Module(), g.Name);
    EXPECT_NE(loaded, nullptr);
    if (loaded) DeleteObject(loaded);
  }

  const std::vector<std::uint8_t> manifest =
      Resource(cpl.Module(), MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(2));
  const std::string text(manifest.begin(), manifest.end());
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(text.find(">false</dpiAware>"), std::string::npos);

  // The fixed part of the version resource: 1.2.3.21.
  const std::vector<std::uint8_t> version = Resource(cpl.Module(), RT_VERSION, MAKEINTRESOURCEW(1));
  const DWORD signature = 0xFEEF04BD;
  bool found = false;
  for (std::size_t i = 0; i + sizeof(VS_FIXEDFILEINFO) <= version.size(); i += 4) {
    if (std::memcmp(version.data() + i, &signature, 4) != 0) continue;
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, version.data() + i, sizeof fixed);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00030015u);
    EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
    found = true;
    break;
  }
  EXPECT_TRUE(found);
}

// Opens the applet with CPL_DBLCLK and closes the dialog as the user's close
// box would; returns the dialog's window and its owner.
struct TOpening {
  HWND Dialog = nullptr;
  HWND Owner = nullptr;
  LONG Result = -1;
};
TOpening OpenAndClose(const TCplModule& cpl, HWND owner) {
  TOpening opening;
  opening.Dialog = WhileShown(
      L"Bexora", [&] { opening.Result = cpl(owner, CPL_DBLCLK, 0, 0); },
      [&](HWND dialog) {
        opening.Owner = GetWindow(dialog, GW_OWNER);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
      });
  return opening;
}

TEST(CplApplet, OpensTheDialogTwiceInOneProcess) {
  TCplModule cpl;
  ASSERT_TRUE(cpl.Loaded());
  TOwnerWindow owner;
  ASSERT_EQ(cpl(owner.Get(), CPL_INIT), 1);
  ASSERT_EQ(cpl(owner.Get(), CPL_GETCOUNT), 1);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const TOpening opening = OpenAndClose(cpl, owner.Get());
    EXPECT_EQ(opening.Result, 0);
    ASSERT_NE(opening.Dialog, nullptr) << "no window captioned \"Bexora\" appeared";
    EXPECT_EQ(opening.Owner, owner.Get());
    // The dialog is gone when CPlApplet returns.
    EXPECT_FALSE(IsWindow(opening.Dialog));
  }
  EXPECT_EQ(cpl(owner.Get(), CPL_STOP), 0);
  EXPECT_EQ(cpl(owner.Get(), CPL_EXIT), 0);
}

// The module's path as the system knows it while it is loaded; empty once
// it is unloaded.
std::wstring LoadedPath(HMODULE module) {
  wchar_t path[MAX_PATH * 2] = {};
  return GetModuleFileNameW(module, path, MAX_PATH * 2) ? path : L"";
}

TEST(CplApplet, UnloadsAfterADialogWatchingAChangingFolderAndLoadsAgain) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"bexora-unload";
  CreateDirectoryW(folder.c_str(), nullptr);
  HKEY own = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Mobrelin\\Bexora", 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &own, nullptr),
            ERROR_SUCCESS);
  const std::wstring value = folder + L"\\";
  RegSetValueExW(own, L"WallpaperFolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(own);

  for (int load = 0; load < 2; ++load) {
    SCOPED_TRACE(load == 0 ? "first load" : "second load");
    HMODULE module = nullptr;
    {
      TCplModule cpl;
      ASSERT_TRUE(cpl.Loaded());
      module = cpl.Module();
      TOwnerWindow owner;
      ASSERT_EQ(cpl(owner.Get(), CPL_INIT), 1);
      // Files come and go in the listed folder while the dialog closes, so
      // that reports are on their way as the monitor lets go.
      std::atomic<bool> closing{false}, stop{false};
      std::thread writer;
      const HWND dialog = WhileShown(
          L"Bexora", [&] { cpl(owner.Get(), CPL_DBLCLK, 0, 0); },
          [&](HWND shown) {
            writer = std::thread([&] {
              for (int i = 0; !stop; ++i) {
                const std::wstring file = folder + L"\\f" + std::to_wstring(i % 8) + L".bmp";
                HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                       nullptr);
                if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
                DeleteFileW(file.c_str());
                if (i == 200) closing = true;
              }
            });
            while (!closing) Sleep(5);
            PostMessageW(shown, WM_CLOSE, 0, 0);
          });
      EXPECT_NE(dialog, nullptr);
      EXPECT_EQ(cpl(owner.Get(), CPL_STOP), 0);
      EXPECT_EQ(cpl(owner.Get(), CPL_EXIT), 0);
      stop = true;
      if (writer.joinable()) writer.join();
    }
    // The monitor's thread ends by itself and lets go of the module; no
    // window or window class of the module is left behind.
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!LoadedPath(module).empty() && GetTickCount64() < deadline) Sleep(20);
    EXPECT_EQ(LoadedPath(module), L"") << "the module stays loaded: a thread of it is left";
    // (This program has a dispatch window of its own, of its own class.)
    for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, L"TBexoraDispatch", nullptr));)
      EXPECT_NE(GetClassLongPtrW(w, GCLP_HMODULE), reinterpret_cast<ULONG_PTR>(module))
          << "a dispatch window of the unloaded module";
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    for (const wchar_t* name : {L"TBexoraDispatch", L"TImage", L"TSpinEdit", L"TSpinButton"}) {
      SCOPED_TRACE(testing::Message() << std::string(name, name + wcslen(name)));
      EXPECT_FALSE(GetClassInfoExW(module, name, &info)) << "a class of the unloaded module";
    }
  }
  for (int i = 0; i < 8; ++i) DeleteFileW((folder + L"\\f" + std::to_wstring(i) + L".bmp").c_str());
  RemoveDirectoryW(folder.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Mobrelin\\Bexora");
}

TEST(CplApplet, ControlPanelOpensAndClosesIt) {
  std::wstring command = L"control.exe \"" + ModulePath() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &process));
  // control.exe may hand the work to a process of its own; look in every
  // process for the dialog.
  HWND dialog = nullptr;
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (!dialog && GetTickCount64() < deadline) {
    dialog = FindShownWindow(0, 0, L"Bexora");
    if (!dialog) Sleep(100);
  }
  EXPECT_NE(dialog, nullptr) << "control.exe showed no window captioned \"Bexora\"";
  if (dialog) PostMessageW(dialog, WM_CLOSE, 0, 0);
  const DWORD waited = WaitForSingleObject(process.hProcess, 30000);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "control.exe did not end after the dialog closed";
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (dialog) EXPECT_FALSE(IsWindow(dialog));
}

}  // namespace
}  // namespace bx::wine
