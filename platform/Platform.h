// The outside services the applet needs, as interfaces. The Windows build
// implements them over the real system (platform/win32/), the native build
// over portable stand-ins (platform/portable/) that the tests can inspect.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ChangeNotify.h"
#include "platform/CommonDialogs.h"
#include "platform/Dispatch.h"
#include "platform/Locale.h"
#include "platform/MemoryStatus.h"
#include "platform/Modules.h"
#include "platform/VersionResources.h"

namespace bx {

// ---- Registry, modelled on the Win32 registry calls -----------------------

using RegKey = std::uintptr_t;  // an open key, or one of the roots below

constexpr RegKey kHKeyCurrentUser = 0x80000001u;
constexpr RegKey kHKeyUsers = 0x80000003u;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kStandardRightsRead = 0x20000;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;

// Strings travel as UTF-16LE bytes with their terminating zero, as the wide
// registry interface stores them, so that sizes agree in every build.
class IRegistry {
 public:
  virtual ~IRegistry() = default;
  virtual long OpenKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                       RegKey& result) = 0;
  // Non-volatile, no class; opens the key when it exists.
  virtual long CreateKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                         RegKey& result) = 0;
  // As RegQueryValueEx: data may be null to ask for the size only; a buffer
  // too small gives kErrorMoreData with size set to the size needed.
  virtual long QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) = 0;
  virtual long SetValue(RegKey key, const std::string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) = 0;
  virtual long DeleteValue(RegKey key, const std::string& name) = 0;
  // Deletes a key without subkeys.
  virtual long DeleteKey(RegKey parent, const std::string& subKey) = 0;
  virtual long EnumKey(RegKey key, std::uint32_t index, std::string& name) = 0;
  virtual long QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& values) = 0;
  virtual long CloseKey(RegKey key) = 0;
};

// ---- Files -----------------------------------------------------------------

struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t lastWrite = 0;
  bool operator==(const FileStamp&) const = default;
};

// File attributes, as the system's FILE_ATTRIBUTE_* values.
constexpr std::uint32_t faReadOnly = 0x01;
constexpr std::uint32_t faHidden = 0x02;
constexpr std::uint32_t faSysFile = 0x04;
constexpr std::uint32_t faVolumeID = 0x08;
constexpr std::uint32_t faDirectory = 0x10;
constexpr std::uint32_t faArchive = 0x20;
constexpr std::uint32_t faAnyFile = 0x3F;

struct TFolderEntry {
  std::string Name;
  std::uint32_t Attributes = 0;
};

// Paths are Windows paths ("C:\Windows\"); the portable implementation maps
// them onto a folder of the host.
class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  virtual bool FileExists(const std::string& path) = 0;       // files only, never folders
  virtual bool DirectoryExists(const std::string& path) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // Whole file; throws "Cannot open file %s" when it cannot be read.
  virtual std::vector<std::uint8_t> ReadFile(const std::string& path) = 0;
  // Writes to a temporary file in the same folder and moves it over the old
  // one; throws "Cannot create file %s" and leaves the old file as it was.
  virtual void WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& data) = 0;
  // False when the file does not exist.
  virtual bool GetFileStamp(const std::string& path, FileStamp& stamp) = 0;
  virtual std::string GetWindowsDirectory() = 0;
  // Every entry of a folder but "." and "..", in the order the system keeps
  // them; what could be read when the folder cannot be read to its end. A
  // file service without folders lists nothing.
  virtual std::vector<TFolderEntry> ListFolder(const std::string& folder) {
    (void)folder;
    return {};
  }
};

// ---- Desktop and system ----------------------------------------------------

constexpr int kSmCxScreen = 0;
constexpr int kSmCyScreen = 1;
constexpr int kSmCxIcon = 11;
constexpr int kSmCyIcon = 12;
constexpr int kSmCyBorder = 6;
constexpr int kSmCxVirtualScreen = 78;
constexpr int kSmCyVirtualScreen = 79;

constexpr std::uint32_t kSpiSetDeskWallpaper = 20;
constexpr std::uint32_t kSpifUpdateIniFile = 1;
constexpr int kColorBackground = 1;
constexpr int kColorWindow = 5;
constexpr int kColorWindowText = 8;
constexpr int kColorBtnFace = 15;

class ISystem {
 public:
  virtual ~ISystem() = default;
  virtual int GetSystemMetrics(int index) = 0;
  // SystemParametersInfo with a string parameter: SPI_SETDESKWALLPAPER with
  // the stored wallpaper's name has the desktop reload its wallpaper.
  virtual bool SystemParametersInfo(std::uint32_t action, std::uint32_t param,
                                    const std::string& text, std::uint32_t winIni) = 0;
  virtual bool SetSysColor(int element, std::uint32_t color) = 0;
  virtual std::uint32_t GetSysColor(int index) = 0;
  virtual void Beep(std::uint32_t frequency, std::uint32_t duration) = 0;
  virtual void MessageBeep() = 0;
  // The host process's command line, split as the runtime splits it
  // (blanks separate, double quotes group and are removed); [0] is the program.
  virtual std::vector<std::string> CommandLineArgs() = 0;
  // Bits per pixel times planes of the display.
  virtual int DisplayColorDepth() = 0;
  virtual int LogPixelsPerInchX() = 0;
  virtual int LogPixelsPerInchY() = 0;
  // True on the Windows 95 and NT families.
  virtual bool IsWindows95OrNT() = 0;
  // Requests the end of the host program (the environment check).
  virtual void EndProgram() = 0;
  virtual std::uint64_t TickCountMs() = 0;
};

// ---- Message boxes ---------------------------------------------------------

enum class TMsgDlgType { mtInformation, mtConfirmation, mtError };
enum class TMsgDlgBtn { mbOK, mbYes, mbCancel, mbYesToAll };
using TMsgDlgButtons = std::vector<TMsgDlgBtn>;
// The button chosen; mbCancel for Esc and the close box.
class IMessageBoxes {
 public:
  virtual ~IMessageBoxes() = default;
  virtual TMsgDlgBtn MessageDlg(const std::string& text, TMsgDlgType type,
                                const TMsgDlgButtons& buttons) = 0;
  // A plain box for the module's start, before any dialog exists.
  virtual void SimpleMessage(const std::string& text) = 0;
};

// ---- Metafiles -------------------------------------------------------------

class TPixelBuffer;
// Plays a metafile's bytes into a rectangle of a pixel buffer; what the
// metafile does not paint keeps its pixels. Absent where no player exists.
class IMetafilePlayer {
 public:
  virtual ~IMetafilePlayer() = default;
  virtual bool PlayEnhanced(const std::vector<std::uint8_t>& emf, TPixelBuffer& target, int x,
                            int y, int width, int height) = 0;
  // Windows metafile records (the placeable header removed) in a box of
  // width x height pixels; the box's logical extent comes from the header.
  virtual bool PlayWindows(const std::vector<std::uint8_t>& wmfRecords, int boxLeft, int boxTop,
                           int boxRight, int boxBottom, int unitsPerInch, TPixelBuffer& target,
                           int x, int y, int width, int height) = 0;
};

// ---- The set in use --------------------------------------------------------

struct TPlatform {
  IRegistry* Registry = nullptr;
  IFileSystem* Files = nullptr;
  ISystem* System = nullptr;
  IMessageBoxes* MessageBoxes = nullptr;
  IMetafilePlayer* Metafiles = nullptr;  // may be null
  // Null where the platform has none: folders are then not watched, and
  // the common dialogs are cancelled at once.
  IDispatch* Dispatch = nullptr;
  IChangeNotification* ChangeNotify = nullptr;
  ICommonDialogs* Dialogs = nullptr;
  IVersionResources* VersionResources = nullptr;
  IMemoryStatus* MemoryStatus = nullptr;
  IModules* Modules = nullptr;
  ILocale* Locale = nullptr;
};

// The services in use; the build's own set unless a test installed another.
TPlatform& Platform();
// The build's own set (platform/win32/ or platform/portable/).
TPlatform DefaultPlatform();
// Installs a set and returns the previous one.
TPlatform SetPlatform(const TPlatform& platform);

}  // namespace bx
