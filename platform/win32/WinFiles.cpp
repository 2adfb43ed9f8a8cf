#include "platform/win32/WinFiles.h"

#include <new>

#include "platform/Errors.h"
#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"

namespace bx {

namespace {

// Larger files are no pictures this applet can show; refusing them keeps a
// stray huge file from exhausting memory.
constexpr std::uint64_t kMaxReadSize = 1ull << 30;

DWORD Attributes(const std::string& path) { return GetFileAttributesW(WidePath(path).c_str()); }

class THandle {
 public:
  explicit THandle(HANDLE handle) : FHandle(handle) {}
  ~THandle() { Close(); }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  bool Valid() const { return FHandle != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return FHandle; }
  bool Close() {
    if (!Valid()) return true;
    const bool ok = CloseHandle(FHandle) != 0;
    FHandle = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE FHandle;
};

bool WriteAll(HANDLE file, const std::vector<std::uint8_t>& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const std::size_t left = data.size() - done;
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!::WriteFile(file, data.data() + done, chunk, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

class TWinFiles : public IFileSystem {
 public:
  bool FileExists(const std::string& path) override {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool DirectoryExists(const std::string& path) override {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool DeleteFile(const std::string& path) override {
    return DeleteFileW(Widen(path).c_str()) != 0;
  }

  std::vector<std::uint8_t> ReadFile(const std::string& path) override {
    const std::string error = FormatText("Cannot open file %s", path);
    THandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) throw Exception(error);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > kMaxReadSize)
      throw Exception(error);
    std::vector<std::uint8_t> data;
    try {
      data.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
      throw Exception(error);
    }
    std::size_t done = 0;
    while (done < data.size()) {
      const std::size_t left = data.size() - done;
      const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
      DWORD read = 0;
      if (!::ReadFile(file.Get(), data.data() + done, chunk, &read, nullptr))
        throw Exception(error);
      if (read == 0) break;  // the file shrank meanwhile: what was there
      done += read;
    }
    data.resize(done);
    return data;
  }

  void WriteFileReplacing(const std::string& path,
                          const std::vector<std::uint8_t>& data) override {
    const std::string error = FormatText("Cannot create file %s", path);
    const std::wstring target = Widen(path);
    if (target.empty()) throw Exception(error);
    // The temporary lies next to the target, so that the move is a rename
    // within one volume and the old file stays whole until it happens.
    std::wstring temp;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
      temp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(FCounter++) + L".tmp";
      handle = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
          GetLastError() != ERROR_ALREADY_EXISTS)
        break;
    }
    if (handle == INVALID_HANDLE_VALUE) throw Exception(error);
    THandle file(handle);
    bool ok = WriteAll(file.Get(), data);
    ok = file.Close() && ok;
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) {
      DeleteFileW(temp.c_str());
      throw Exception(error);
    }
  }

  bool GetFileStamp(const std::string& path, FileStamp& stamp) override {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      return false;
    stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.lastWrite = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
        info.ftLastWriteTime.dwLowDateTime);
    return true;
  }

  std::string GetWindowsDirectory() override {
    std::wstring buffer(MAX_PATH, L'\0');
    UINT n = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n >= buffer.size()) {
      buffer.resize(n + 1);
      n = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (n == 0 || n >= buffer.size()) return {};
    buffer.resize(n);
    return Narrow(buffer);
  }

 std::vector<TFileEntry> ListFolder(const std::string& folder) override {
    std::vector<TFileEntry> entries;
    std::string pattern = folder;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    WIN32_FIND_DATAW found;
    // One pass over the whole folder, fetched in large blocks.
    HANDLE search = FindFirstFileExW(WidePath(pattern + "*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      entries.push_back({Narrow(name), found.dwFileAttributes});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
  }

  bool FindFirstEntry(const std::string& folder, const std::string& mask,
                      TFileEntry& entry) override {
    std::string pattern = folder;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    WIN32_FIND_DATAW found;
    // The file system (or the server of a share) does the matching; only
    // the entries up to the first match come back.
    HANDLE search = FindFirstFileExW(WidePath(pattern + mask).c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool any = false;
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      entry = {Narrow(name), found.dwFileAttributes};
      any = true;
      break;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return any;
  }

 private:
  unsigned FCounter = 0;
};

}  // namespace

std::wstring WidePath(const std::string& path) {
  std::wstring wide = Widen(path);
  if (wide.size() < MAX_PATH || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  // The long form takes no "." or ".." and no "/": the full path has none.
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return wide;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return wide;
  full.resize(length);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

IFileSystem& WinFiles() {
  static TWinFiles files;
  return files;
}

}  // namespace bx
