#include "platform/FileNames.h"

#include "platform/Platform.h"

namespace bx {

namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string FileExtension(const std::string& fileName) {
  const std::size_t delimiter = fileName.find_last_of("\\/:");
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (delimiter != std::string::npos && dot < delimiter)) return {};
  return fileName.substr(dot + 1);
}

bool SameFileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

std::string GetWindowsFolder() {
  std::string folder = Platform().Files->GetWindowsDirectory();
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace bx
