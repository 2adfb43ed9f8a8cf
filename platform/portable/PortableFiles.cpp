#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/Errors.h"
#include "platform/FileNames.h"
#include "platform/portable/PortablePlatform.h"

namespace bx {

namespace fs = std::filesystem;

namespace {

fs::path MakeTemporaryRoot() {
  std::string pattern = (fs::temp_directory_path() / "bexora-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
  return pattern;
}

bool WriteAll(int fd, const std::vector<std::uint8_t>& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

TPortableFiles::TPortableFiles() : FRoot(MakeTemporaryRoot()) {
  fs::create_directories(HostPath(FWindowsDirectory));
}

TPortableFiles::~TPortableFiles() {
  std::error_code ignored;
  fs::remove_all(FRoot, ignored);
}

fs::path TPortableFiles::HostPath(const std::string& windowsPath) const {
  std::string path = windowsPath;
  for (char& c : path)
    if (c == '\\') c = '/';
  fs::path result = FRoot;
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    char drive = path[0] >= 'a' ? static_cast<char>(path[0] - 'a' + 'A') : path[0];
    result /= std::string(1, drive);
    path.erase(0, 2);
  }
  // Names one by one, so that ".." never leads out of the root.
  const std::size_t base = std::distance(result.begin(), result.end());
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string name = path.substr(start, end - start);
    if (name == "..") {
      if (static_cast<std::size_t>(std::distance(result.begin(), result.end())) > base)
        result = result.parent_path();
    } else if (!name.empty() && name != ".") {
      result /= name;
    }
    start = end + 1;
  }
  return result;
}

bool TPortableFiles::FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(HostPath(path), ec);
}

bool TPortableFiles::DirectoryExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(HostPath(path), ec);
}

bool TPortableFiles::DeleteFile(const std::string& path) {
  std::error_code ec;
  fs::path host = HostPath(path);
  if (!fs::is_regular_file(fs::symlink_status(host, ec))) return false;
  return fs::remove(host, ec);
}

std::vector<std::uint8_t> TPortableFiles::ReadFile(const std::string& path) {
  fs::path host = HostPath(path);
  std::error_code ec;
  std::ifstream in;
  if (fs::is_regular_file(host, ec)) in.open(host, std::ios::binary);
  if (!in.is_open() || !in) throw Exception(FormatText("Cannot open file %s", path));
  // Read in one piece: a photo's megabytes byte by byte cost more than
  // decoding it reduced.
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  std::vector<std::uint8_t> data(size > 0 ? static_cast<std::size_t>(size) : 0);
  in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!in || in.gcount() != static_cast<std::streamsize>(data.size()))
    throw Exception(FormatText("Cannot open file %s", path));
  return data;
}

void TPortableFiles::WriteFileReplacing(const std::string& path,
                                        const std::vector<std::uint8_t>& data) {
  const fs::path target = HostPath(path);
  std::error_code ec;
  const bool targetIsFolder = fs::is_directory(target, ec);
  std::string temporary = (target.parent_path() / ".bexora-XXXXXX").string();
  int fd = targetIsFolder ? -1 : mkstemp(temporary.data());
  if (fd < 0) throw Exception(FormatText("Cannot create file %s", path));
  bool written = WriteAll(fd, data);
  written = ::close(fd) == 0 && written;
  if (written) {
    ::chmod(temporary.c_str(), 0644);
    fs::rename(temporary, target, ec);
  }
  if (!written || ec) {
    fs::remove(temporary, ec);
    throw Exception(FormatText("Cannot create file %s", path));
  }
}

bool TPortableFiles::GetFileStamp(const std::string& path, FileStamp& stamp) {
  fs::path host = HostPath(path);
  std::error_code ec;
  if (!fs::is_regular_file(host, ec)) return false;
  auto size = fs::file_size(host, ec);
  if (ec) return false;
  auto time = fs::last_write_time(host, ec);
  if (ec) return false;
  stamp.size = size;
  stamp.lastWrite = static_cast<std::int64_t>(time.time_since_epoch().count());
  return true;
}

std::string TPortableFiles::GetWindowsDirectory() { return FWindowsDirectory; }

namespace {

// The entry as the system's listing describes it: folders, names starting
// with "." hidden, other entries archive. The kind comes with the listing
// itself; only a link is looked up.
TFileEntry EntryOf(const fs::directory_entry& found) {
  TFileEntry entry{found.path().filename().string(), 0};
  std::error_code kind;
  entry.Attributes |= found.is_directory(kind) ? kFaDirectory : kFaArchive;
  if (!entry.Name.empty() && entry.Name[0] == '.') entry.Attributes |= kFaHidden;
  return entry;
}

}  // namespace

std::vector<TFileEntry> TPortableFiles::ListFolder(const std::string& folder) {
  std::vector<TFileEntry> entries;
  std::error_code ec;
  // A folder that goes or cannot be read midway ends the listing there.
  for (fs::directory_iterator it(HostPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
    ++EntriesRead;
    entries.push_back(EntryOf(*it));
  }
  return entries;
}

bool TPortableFiles::FindFirstEntry(const std::string& folder, const std::string& mask,
                                    TFileEntry& entry) {
  std::error_code ec;
  for (fs::directory_iterator it(HostPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
    ++EntriesRead;
    if (!MatchesMask(it->path().filename().string(), mask)) continue;
    entry = EntryOf(*it);
    return true;
  }
  return false;
}

void TPortableFiles::SetWindowsDirectory(const std::string& path) {
  FWindowsDirectory = path;
  if (!path.empty()) fs::create_directories(HostPath(path));
}

void TPortableFiles::CreateDirectory(const std::string& path) {
  fs::create_directories(HostPath(path));
}

void TPortableFiles::WriteFile(const std::string& path, const std::vector<std::uint8_t>& data) {
  fs::path host = HostPath(path);
  fs::create_directories(host.parent_path());
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write " + host.string());
}

void TPortableFiles::WriteTextFile(const std::string& path, const std::string& text) {
  WriteFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

}  // namespace bx
