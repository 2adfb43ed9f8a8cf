// The file service: Windows paths, whole-file reads and safe writes, and the
// listing of a folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bx {

struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t lastWrite = 0;
  bool operator==(const FileStamp&) const = default;
};

// File attributes as the platform's FILE_ATTRIBUTE_* bits.
constexpr std::uint32_t kFaReadOnly = 0x01;
constexpr std::uint32_t kFaHidden = 0x02;
constexpr std::uint32_t kFaSystem = 0x04;
constexpr std::uint32_t kFaVolumeId = 0x08;
constexpr std::uint32_t kFaDirectory = 0x10;
constexpr std::uint32_t kFaArchive = 0x20;
constexpr std::uint32_t kFaAnyFile = 0x3F;
// A cloud store's placeholders: the data is fetched when the file is read.
constexpr std::uint32_t kFaOffline = 0x1000;
constexpr std::uint32_t kFaRecallOnOpen = 0x40000;
constexpr std::uint32_t kFaRecallOnDataAccess = 0x400000;

// True for a file that only stands for one kept by a cloud store: reading it
// would download it (recall on data access or on open, or offline).
constexpr bool IsCloudPlaceholder(std::uint32_t attributes) {
  return (attributes & (kFaOffline | kFaRecallOnOpen | kFaRecallOnDataAccess)) != 0;
}

// One entry of a folder: its name without the folder.
struct TFileEntry {
  std::string Name;
  std::uint32_t Attributes = 0;
  bool operator==(const TFileEntry&) const = default;
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
  // them; what could be read when the folder cannot be read to its end, and
  // nothing when it does not exist. One pass for all masks: the wildcard
  // matching is the caller's (ListFiles).
  virtual std::vector<TFileEntry> ListFolder(const std::string& folder) = 0;
  // The first entry the system's search finds in a folder for one wildcard
  // mask ("*.gif"), "." and ".." passed over; false when there is none.
  // The search ends there: a large folder or a share is not read through.
  virtual bool FindFirstEntry(const std::string& folder, const std::string& mask,
                              TFileEntry& entry) = 0;
};

}  // namespace bx
