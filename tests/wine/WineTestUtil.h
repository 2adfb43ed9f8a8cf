// Helpers shared by the Wine tests that drive real windows: pumping the
// queue the way the modal loop does, input as queued messages, recording
// message boxes and beeps, window geometry and screenshots.
#pragma once

#include <gtest/gtest.h>

#include "binding/win32/FormWindow.h"
#include "platform/Platform.h"
#include "platform/win32/Text.h"
#include "ui/Form.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bx::winetest {

// Runs every queued message through the form's keyboard handling and the
// window procedures, as the modal loop does, for at least `ms` milliseconds.
inline void Pump(DWORD ms = 0) {
  const ULONGLONG end = GetTickCount64() + ms;
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      if (!PreTranslateFormMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

// Pumps until `done` holds or the time is up; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    Pump(10);
  }
  return true;
}

// ---- Input -------------------------------------------------------------------

inline LPARAM Point(int x, int y) {
  return static_cast<LPARAM>((static_cast<unsigned>(y) << 16) | (static_cast<unsigned>(x) & 0xFFFF));
}

// A mouse message as the system queues it, at client coordinates.
inline void PostMouse(HWND window, UINT message, int x, int y, WPARAM flags) {
  PostMessageW(window, message, flags, Point(x, y));
}

// A left click at a point of a window's client area.
inline void Click(HWND window, int x, int y) {
  PostMouse(window, WM_MOUSEMOVE, x, y, 0);
  PostMouse(window, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  PostMouse(window, WM_LBUTTONUP, x, y, 0);
  Pump();
}

inline void ClickCentre(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  Click(window, client.right / 2, client.bottom / 2);
}

// Holds the modifier keys of `shift` in the thread's keyboard state while it lives.
class TModifiers {
 public:
  explicit TModifiers(TShiftState shift) {
    GetKeyboardState(FSaved);
    BYTE state[256];
    GetKeyboardState(state);
    auto set = [&state](int key, bool down) { state[key] = down ? 0x80 : 0; };
    set(VK_SHIFT, shift & ssShift);
    set(VK_LSHIFT, shift & ssShift);
    set(VK_CONTROL, shift & ssCtrl);
    set(VK_LCONTROL, shift & ssCtrl);
    set(VK_MENU, shift & ssAlt);
    set(VK_LMENU, shift & ssAlt);
    SetKeyboardState(state);
  }
  ~TModifiers() { SetKeyboardState(FSaved); }
  TModifiers(const TModifiers&) = delete;
  TModifiers& operator=(const TModifiers&) = delete;

 private:
  BYTE FSaved[256];
};

// A key pressed and released at the focused window, with the modifiers of
// `shift` held; the queue is pumped as the modal loop does, so key preview,
// the dialog keys and the characters all take their real path.
inline void PressKey(UINT key, TShiftState shift = 0) {
  TModifiers modifiers(shift);
  HWND target = GetFocus();
  if (!target) target = GetActiveWindow();
  const bool alt = (shift & ssAlt) != 0;
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  const LPARAM down = 1 | scan | (alt ? (1 << 29) : 0);
  PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
  Pump();
  target = GetFocus() ? GetFocus() : target;
  PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, key,
               down | (static_cast<LPARAM>(3) << 30));
  Pump();
}

// Types text into the focused window, one character message each.
inline void TypeText(const std::wstring& text) {
  for (wchar_t ch : text) {
    PostMessageW(GetFocus(), WM_CHAR, ch, 1);
    Pump();
  }
}

// ---- Windows -----------------------------------------------------------------

inline std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  std::string out;
  for (const wchar_t* p = name; *p; ++p) out += static_cast<char>(*p);
  return out;
}

inline std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

// A child's bounds in its parent's client pixels (left, top, width, height).
struct TBounds {
  int Left, Top, Width, Height;
  bool operator==(const TBounds&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const TBounds& b) {
  return out << "(" << b.Left << ", " << b.Top << ", " << b.Width << " x " << b.Height << ")";
}

inline TBounds ChildBounds(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline TBounds OuterBounds(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

// The form's window, made, shown in front and painted; null when it could
// not be made.
inline HWND ShowFormWindow(TForm& form) {
  HWND window = CreateFormWindow(form);
  if (!window) return nullptr;
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  Pump(50);
  return window;
}

// The glyphs are resources of the built applet, which this program does
// not link: they are taken from the module file, found next to the
// program's build folder or in the working folder.
inline void UseAppletResources() {
  static HMODULE module = [] {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    for (const std::wstring& candidate : {folder + L"..\\..\\Bexora.cpl", std::wstring(L"Bexora.cpl")}) {
      if (HMODULE found = LoadLibraryExW(candidate.c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
        return found;
    }
    return static_cast<HMODULE>(nullptr);
  }();
  if (module) SetResourceModule(module);
}

// Runs this program again with the tests of `filter`, as a program that
// starts while the per-user setting under "Control Panel\\Desktop" says
// `pixelsPerInch` (Wine reads it when a program starts), with the variable
// `marker` set so that those tests know they are the run. The setting is
// put back after. Answers the run's exit code; 1 when it did not start, 2
// when it did not end within a minute.
inline DWORD RunAtPixelsPerInch(DWORD pixelsPerInch, const std::wstring& filter,
                                const wchar_t* marker) {
  HKEY desktop = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &desktop, nullptr) != ERROR_SUCCESS)
    return 1;
  DWORD old = 0, type = 0, size = sizeof old;
  const bool hadValue = RegQueryValueExW(desktop, L"LogPixels", nullptr, &type,
                                         reinterpret_cast<BYTE*>(&old), &size) == ERROR_SUCCESS;
  RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pixelsPerInch),
                 sizeof pixelsPerInch);
  wchar_t program[MAX_PATH * 2] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH * 2);
  std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_color=no --gtest_filter=" + filter;
  SetEnvironmentVariableW(marker, L"1");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  SetEnvironmentVariableW(marker, nullptr);
  DWORD code = 1;
  if (started) {
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0)
      TerminateProcess(process.hProcess, 2);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (hadValue && type == REG_DWORD)
    RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old),
                   sizeof old);
  else
    RegDeleteValueW(desktop, L"LogPixels");
  RegCloseKey(desktop);
  return code;
}

// ---- Pixels and screenshots ----------------------------------------------------

// The window's own drawing (frame, client and children) captured into a
// 32-bit top-down image, 0x00RRGGBB per pixel.
struct TCapture {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;
  std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

// What the screen shows in `r`.
inline TCapture CaptureScreen(const RECT& r) {
  TCapture capture;
  capture.Width = r.right - r.left;
  capture.Height = r.bottom - r.top;
  if (capture.Width <= 0 || capture.Height <= 0) return capture;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture.Width;
  info.bmiHeader.biHeight = -capture.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.Width, capture.Height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  capture.Pixels.assign(static_cast<const std::uint32_t*>(bits),
                        static_cast<const std::uint32_t*>(bits) +
                            static_cast<std::size_t>(capture.Width) * capture.Height);
  for (auto& p : capture.Pixels) p &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(nullptr, screen);
  return capture;
}

inline TCapture CaptureWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  Pump(50);
  // The screen holds what is shown, children included; the window is on top.
  return CaptureScreen(r);
}

// Writes a capture as a 24-bit BMP file.
inline bool SaveBitmap(const TCapture& capture, const std::string& path) {
  const int rowBytes = (capture.Width * 3 + 3) & ~3;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(rowBytes) * capture.Height;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageSize;
  header.biSize = sizeof header;
  header.biWidth = capture.Width;
  header.biHeight = capture.Height;  // bottom-up
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = imageSize;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&header, sizeof header, 1, out);
  std::vector<unsigned char> row(static_cast<std::size_t>(rowBytes), 0);
  for (int y = capture.Height - 1; y >= 0; --y) {
    for (int x = 0; x < capture.Width; ++x) {
      const std::uint32_t p = capture.At(x, y);
      row[static_cast<std::size_t>(x) * 3] = static_cast<unsigned char>(p & 0xFF);
      row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<unsigned char>((p >> 8) & 0xFF);
      row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<unsigned char>((p >> 16) & 0xFF);
    }
    std::fwrite(row.data(), 1, row.size(), out);
  }
  return std::fclose(out) == 0;
}

// ---- Platform stand-ins for the tests ------------------------------------------

// Message boxes that record their texts and answer at once.
class TRecordingMessageBoxes : public IMessageBoxes {
 public:
  TMsgDlgBtn MessageDlg(const std::string& text, TMsgDlgType, const TMsgDlgButtons&) override {
    Texts.push_back(text);
    return Answer;
  }
  void SimpleMessage(const std::string& text) override { Texts.push_back(text); }
  std::vector<std::string> Texts;
  TMsgDlgBtn Answer = TMsgDlgBtn::mbOK;
};

// Installs the build's own services with the message boxes replaced (a
// real box would wait for a user), and restores the previous set.
class TPlatformScope {
 public:
  explicit TPlatformScope(IMessageBoxes& boxes, ISystem* system = nullptr) {
    TPlatform platform = DefaultPlatform();
    platform.MessageBoxes = &boxes;
    if (system) platform.System = system;
    FPrevious = SetPlatform(platform);
  }
  ~TPlatformScope() { SetPlatform(FPrevious); }
  TPlatformScope(const TPlatformScope&) = delete;
  TPlatformScope& operator=(const TPlatformScope&) = delete;

 private:
  TPlatform FPrevious;
};

// ---- Registry values, folders and files the tests change ------------------------

// A key of the registry layout without its leading "\", as RegOpenKeyEx
// takes it.
inline std::string Raw(const std::string& key) {
  return !key.empty() && key[0] == '\\' ? key.substr(1) : key;
}

// A value of the real registry as stored; key paths without a leading "\".
struct TRegValue {
  DWORD Type = REG_NONE;
  std::vector<BYTE> Data;
  // REG_SZ data as UTF-8, up to the terminating zero.
  std::string Text() const {
    std::wstring text(reinterpret_cast<const wchar_t*>(Data.data()), Data.size() / sizeof(wchar_t));
    if (const std::size_t zero = text.find(L'\0'); zero != std::wstring::npos) text.resize(zero);
    return Narrow(text);
  }
  DWORD Dword() const {
    DWORD value = 0;
    if (Data.size() >= sizeof value) std::memcpy(&value, Data.data(), sizeof value);
    return value;
  }
};

inline std::optional<TRegValue> ReadRegValue(HKEY root, const std::string& key,
                                             const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Widen(key).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  TRegValue value;
  DWORD size = 0;
  LONG rc = RegQueryValueExW(opened, Widen(name).c_str(), nullptr, &value.Type, nullptr, &size);
  if (rc == ERROR_SUCCESS) {
    value.Data.resize(size);
    rc = RegQueryValueExW(opened, Widen(name).c_str(), nullptr, &value.Type, value.Data.data(),
                          &size);
    value.Data.resize(size);
  }
  RegCloseKey(opened);
  if (rc != ERROR_SUCCESS) return std::nullopt;
  return value;
}

inline bool RegKeyExists(HKEY root, const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Widen(key).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return false;
  RegCloseKey(opened);
  return true;
}

// Deletes a key with everything below it.
inline void DeleteRegTree(HKEY root, const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Widen(key).c_str(), 0, KEY_ALL_ACCESS, &opened) == ERROR_SUCCESS) {
    std::vector<std::string> children;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumKeyExW(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      children.push_back(Narrow(std::wstring(name, length)));
    }
    RegCloseKey(opened);
    for (const std::string& child : children) DeleteRegTree(root, key + "\\" + child);
  }
  RegDeleteKeyW(root, Widen(key).c_str());
}

// Writes registry values for a test and puts back what was there before:
// each value's old state is kept before its first change (Keep alone marks a
// value that the code under test will write), and Restore, run at the end
// at the latest, writes it back or deletes it, and deletes the keys that did
// not exist before.
class TRegistryRestorer {
 public:
  TRegistryRestorer() = default;
  ~TRegistryRestorer() { Restore(); }
  TRegistryRestorer(const TRegistryRestorer&) = delete;
  TRegistryRestorer& operator=(const TRegistryRestorer&) = delete;

  void Keep(HKEY root, const std::string& key, const std::string& name) {
    for (const TSaved& s : FSaved)
      if (s.Root == root && s.Key == key && s.Name == name) return;
    // The highest missing level of the path is deleted again at the end.
    for (std::size_t end = key.find('\\');; end = key.find('\\', end + 1)) {
      const std::string level = key.substr(0, end);
      if (!RegKeyExists(root, level)) {
        bool known = false;
        for (const auto& [r, k] : FCreated)
          if (r == root && (level == k || level.rfind(k + "\\", 0) == 0)) known = true;
        if (!known) FCreated.emplace_back(root, level);
        break;
      }
      if (end == std::string::npos) break;
    }
    FSaved.push_back({root, key, name, ReadRegValue(root, key, name)});
  }
  void Set(HKEY root, const std::string& key, const std::string& name, DWORD type,
           const std::vector<BYTE>& data) {
    Keep(root, key, name);
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, Widen(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &opened, nullptr),
              ERROR_SUCCESS)
        << key;
    EXPECT_EQ(RegSetValueExW(opened, Widen(name).c_str(), 0, type, data.data(),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS)
        << name;
    RegCloseKey(opened);
  }
  void SetText(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    const std::wstring wide = Widen(text);
    const BYTE* bytes = reinterpret_cast<const BYTE*>(wide.c_str());
    Set(root, key, name, REG_SZ, std::vector<BYTE>(bytes, bytes + (wide.size() + 1) * sizeof(wchar_t)));
  }
  void SetDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
    Set(root, key, name, REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof value));
  }
  void Remove(HKEY root, const std::string& key, const std::string& name) {
    Keep(root, key, name);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, Widen(key).c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return;
    RegDeleteValueW(opened, Widen(name).c_str());
    RegCloseKey(opened);
  }

  void Restore() {
    for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
      HKEY opened = nullptr;
      if (it->Old) {
        if (RegCreateKeyExW(it->Root, Widen(it->Key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &opened, nullptr) != ERROR_SUCCESS)
          continue;
        RegSetValueExW(opened, Widen(it->Name).c_str(), 0, it->Old->Type, it->Old->Data.data(),
                       static_cast<DWORD>(it->Old->Data.size()));
      } else {
        if (RegOpenKeyExW(it->Root, Widen(it->Key).c_str(), 0, KEY_ALL_ACCESS, &opened) !=
            ERROR_SUCCESS)
          continue;
        RegDeleteValueW(opened, Widen(it->Name).c_str());
      }
      RegCloseKey(opened);
    }
    for (const auto& [root, key] : FCreated) DeleteRegTree(root, key);
    FSaved.clear();
    FCreated.clear();
  }

 private:
  struct TSaved {
    HKEY Root;
    std::string Key, Name;
    std::optional<TRegValue> Old;
  };
  std::vector<TSaved> FSaved;
  std::vector<std::pair<HKEY, std::string>> FCreated;
};

// A folder of its own under the temporary folder, removed with the files
// left in it. Path() has no trailing "\".
class TTempFolder {
 public:
  explicit TTempFolder(const std::string& prefix) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::string base = Narrow(temp);
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (unsigned n = 0; n < 1000 && FPath.empty(); ++n) {
      const std::string candidate =
          base + "\\" + prefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n);
      if (CreateDirectoryW(Widen(candidate).c_str(), nullptr)) FPath = candidate;
    }
    EXPECT_FALSE(FPath.empty()) << "no temporary folder";
  }
  ~TTempFolder() {
    if (FPath.empty()) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Widen(FPath + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileW((Widen(FPath + "\\") + found.cFileName).c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(Widen(FPath).c_str());
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::string& Path() const { return FPath; }
  std::string File(const std::string& name) const { return FPath + "\\" + name; }

 private:
  std::string FPath;
};

// Whole files with the C runtime, apart from the code under test.
inline bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& data) {
  std::FILE* out = _wfopen(Widen(path).c_str(), L"wb");
  if (!out) return false;
  const bool written = std::fwrite(data.data(), 1, data.size(), out) == data.size();
  return std::fclose(out) == 0 && written;
}

inline std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  std::FILE* in = _wfopen(Widen(path).c_str(), L"rb");
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> data;
  std::uint8_t chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
    data.insert(data.end(), chunk, chunk + n);
  std::fclose(in);
  return data;
}

inline bool FileExistsOnDisk(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The last-write time, 0 when the file is missing.
inline ULONGLONG LastWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace bx::winetest
