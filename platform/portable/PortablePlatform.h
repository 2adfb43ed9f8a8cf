// The portable stand-ins for the outside services: what the native build
// runs on, and what tests set up and inspect.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gfx/PixelBuffer.h"
#include "platform/Platform.h"
#include "platform/portable/InotifyChangeNotification.h"
#include "platform/portable/MemoryRegistry.h"
#include "platform/portable/PortableDispatch.h"
#include "platform/portable/ScriptedDialogs.h"

namespace bx {

// Windows paths on a folder of the host: every "\" becomes "/" and a drive
// "C:" becomes <root>/C, so "C:\Windows\" is <root>/C/Windows/. The root is
// a fresh temporary folder, removed with the object.
class TPortableFiles : public IFileSystem {
 public:
  TPortableFiles();
  ~TPortableFiles() override;
  TPortableFiles(const TPortableFiles&) = delete;
  TPortableFiles& operator=(const TPortableFiles&) = delete;

  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  std::vector<std::uint8_t> ReadFile(const std::string& path) override;
  void WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& data) override;
  bool GetFileStamp(const std::string& path, FileStamp& stamp) override;
  std::string GetWindowsDirectory() override;
  // Attributes from the host's listing: folders, names starting with "."
  // hidden, other entries archive. Read-only is not looked up: it would
  // cost a stat per entry, and no caller filters on it.
  std::vector<TFileEntry> ListFolder(const std::string& folder) override;
  // Reads the folder's entries in the host's order up to the first match.
  bool FindFirstEntry(const std::string& folder, const std::string& mask,
                      TFileEntry& entry) override;

  // ---- Test controls
  // The folder entries the two searches have read so far.
  std::size_t EntriesRead = 0;
  const std::filesystem::path& Root() const { return FRoot; }
  std::filesystem::path HostPath(const std::string& windowsPath) const;
  // Default "C:\Windows"; the folder is created.
  void SetWindowsDirectory(const std::string& path);
  // Creates a folder with every missing level.
  void CreateDirectory(const std::string& path);
  void WriteFile(const std::string& path, const std::vector<std::uint8_t>& data);
  void WriteTextFile(const std::string& path, const std::string& text);

 private:
  std::filesystem::path FRoot;
  std::string FWindowsDirectory = "C:\\Windows";
};

// Version resources read from module files of the portable files with the
// build's own reader of the PE resource directory.
class TPortableVersionResources : public IVersionResources {
 public:
  explicit TPortableVersionResources(IFileSystem& files) : FFiles(files) {}
  bool ReadVersionResource(const std::string& fileName, std::vector<std::uint8_t>& data) override;

 private:
  IFileSystem& FFiles;
};

// The program's and the module's file names and their icons as the tests
// set them; a file without an icon set has none.
class TScriptedModules : public IModules {
 public:
  std::string ProgramFileName() override { return Program; }
  std::string ModuleFileName() override { return Module; }
  bool ExtractIcon(const std::string& fileName, std::uint32_t background,
                   TPixelBuffer& icon) override;
  bool ApplicationIcon(std::uint32_t background, TPixelBuffer& icon) override;

  std::string Program = "C:\\Windows\\control.exe";
  std::string Module = "C:\\Windows\\System32\\Bexora.cpl";
  // Icons by file name; every pixel of colour kTransparentIcon takes the
  // background colour asked for.
  std::map<std::string, TPixelBuffer> Icons;
  TPixelBuffer AppIcon;
  static constexpr std::uint32_t kTransparentIcon = 0xFF00FF;
  std::vector<std::string> IconRequests;
};

// Memory figures as the tests set them.
class TRecordingMemoryStatus : public IMemoryStatus {
 public:
  TMemoryStatus GetMemoryStatus() override { return Status; }
  TMemoryStatus Status;
};

// A settable thousands separator and a comparison in the platform's order:
// without regard to case first, then lower case before upper case.
class TPortableLocale : public ILocale {
 public:
  std::string ThousandSeparator() override { return Separator; }
  int CompareStrings(const std::string& a, const std::string& b) override;
  std::string Separator = ",";
};

struct TSysParamCall {
  std::uint32_t Action;
  std::uint32_t Param;
  std::string Text;
  std::uint32_t WinIni;
  bool operator==(const TSysParamCall&) const = default;
};

struct TSysColorCall {
  int Element;
  std::uint32_t Color;
  bool operator==(const TSysColorCall&) const = default;
};

struct TBeepCall {
  std::uint32_t Frequency;
  std::uint32_t Duration;
  bool operator==(const TBeepCall&) const = default;
};

// A desktop that answers settable figures and records what is asked of it.
class TRecordingSystem : public ISystem {
 public:
  TRecordingSystem();

  int GetSystemMetrics(int index) override;
  bool SystemParametersInfo(std::uint32_t action, std::uint32_t param, const std::string& text,
                            std::uint32_t winIni) override;
  bool SetSysColor(int element, std::uint32_t color) override;
  std::uint32_t GetSysColor(int index) override;
  void Beep(std::uint32_t frequency, std::uint32_t duration) override;
  void MessageBeep() override;
  std::vector<std::string> CommandLineArgs() override { return Args; }
  int DisplayColorDepth() override { return ColorDepth; }
  int LogPixelsPerInchX() override { return PixelsPerInchX; }
  int LogPixelsPerInchY() override { return PixelsPerInchY; }
  bool IsWindows95OrNT() override { return Windows95OrNT; }
  void EndProgram() override { ++EndProgramCalls; }
  std::uint64_t TickCountMs() override { return Clock; }
  // Host, and the virtual screen's and primary monitor's figures as set.
  TDesktopLayout DesktopLayout() override;

  // ---- Test controls and records
  // Defaults: virtual screen and screen 1024 x 768, icon 32 x 32, border 1;
  // an index never set answers 0.
  void SetMetric(int index, int value) { FMetrics[index] = value; }
  std::vector<std::string> Args{"control.exe"};
  int ColorDepth = 32;
  int PixelsPerInchX = 96;
  int PixelsPerInchY = 96;
  bool Windows95OrNT = true;
  TWallpaperHost WallpaperHost = TWallpaperHost::Classic;
  bool SystemParametersInfoResult = true;
  bool SetSysColorResult = true;
  std::uint64_t Clock = 0;
  int EndProgramCalls = 0;
  int MessageBeepCalls = 0;
  std::vector<TSysParamCall> SysParamCalls;
  std::vector<TSysColorCall> SysColorCalls;
  std::vector<TBeepCall> BeepCalls;

 private:
  std::map<int, int> FMetrics;
  std::map<int, std::uint32_t> FSysColors;
};

struct TRecordedMessage {
  std::string Text;
  TMsgDlgType Type = TMsgDlgType::mtInformation;
  TMsgDlgButtons Buttons;
  bool Simple = false;  // SimpleMessage rather than MessageDlg
};

// Records every message box; MessageDlg answers from the queue of scripted
// answers, then with the first button offered (mbOK when none).
class TScriptedMessageBoxes : public IMessageBoxes {
 public:
  TMsgDlgBtn MessageDlg(const std::string& text, TMsgDlgType type,
                        const TMsgDlgButtons& buttons) override;
  void SimpleMessage(const std::string& text) override;

  std::deque<TMsgDlgBtn> Answers;
  std::vector<TRecordedMessage> Messages;
};

// One fresh set of the portable services, not installed.
struct TPortableServices {
  // First, so that it goes last: it waits for the workers, which may still
  // be ending when the other services go.
  TManualDispatch Dispatch;
  TMemoryRegistry Registry;
  TPortableFiles Files;
  TRecordingSystem System;
  TScriptedMessageBoxes MessageBoxes;
  TInotifyChangeNotification ChangeNotification{
      [this](const std::string& path) { return Files.HostPath(path); }};
  TScriptedDialogs Dialogs{Files};
  TPortableVersionResources VersionResources{Files};
  TRecordingMemoryStatus MemoryStatus;
  TScriptedModules Modules;
  TPortableLocale Locale;
  TPlatform AsPlatform();
};

// The set DefaultPlatform() of the portable build hands out, made once.
TPortableServices& DefaultPortableServices();

}  // namespace bx
