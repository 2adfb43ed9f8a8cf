#include "components/ListFiles.h"

#include "platform/FileNames.h"
#include "platform/Platform.h"

namespace bx {

namespace {

std::vector<std::string> SplitMasks(const std::string& masks) {
  std::vector<std::string> result;
  std::size_t start = 0;
  for (std::size_t semicolon; (semicolon = masks.find(';', start)) != std::string::npos;
       start = semicolon + 1)
    result.push_back(masks.substr(start, semicolon - start));
  if (start < masks.size()) result.push_back(masks.substr(start));
  return result;
}

}  // namespace

std::vector<std::string> ListFiles(std::string Folder, const std::string& Masks,
                                   std::uint32_t Attributes, bool WithPath) {
  if (Folder.empty() || Folder.back() != '\\') Folder += '\\';
  std::vector<std::u32string> masks;
  for (const std::string& mask : SplitMasks(Masks.empty() ? "*.*" : Masks))
    masks.push_back(FoldedName(mask));

  // One listing serves every mask: the same entries, in the same order, as
  // one search per mask would give, at the cost of one.
  const std::vector<TFileEntry> entries = Platform().Files->ListFolder(Folder);
  const std::uint32_t excluded = ~Attributes & (kFaHidden | kFaSystem | kFaVolumeId | kFaDirectory);
  std::vector<std::vector<std::size_t>> found(masks.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Attributes & excluded) continue;
    const std::u32string name = FoldedName(entries[i].Name);
    for (std::size_t m = 0; m < masks.size(); ++m)
      if (MatchesFoldedMask(name, masks[m])) found[m].push_back(i);
  }

  std::vector<std::string> result;
  for (const auto& matches : found)
    for (std::size_t i : matches)
      result.push_back(WithPath ? Folder + entries[i].Name : entries[i].Name);
  return result;
}

bool FirstMatchIsFile(const std::string& Folder, const std::string& Masks) {
  IFileSystem* files = Platform().Files;
  if (!files) return false;
  for (const std::string& mask : SplitMasks(Masks)) {
    TFileEntry first;
    if (files->FindFirstEntry(Folder, mask, first) && !(first.Attributes & kFaDirectory))
      return true;
  }
  return false;
}

std::string AsciiUpperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace bx
