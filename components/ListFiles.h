// The file search of the image list: the names in one folder that match a
// list of wildcard masks, and the comparisons of file names it rests on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileNames.h"

namespace bx {

// The entries of Folder that match Masks ("*.gif;*.jpg"), mask after mask,
// each mask's matches in the order the system keeps them: nothing sorted,
// a name found by two masks listed twice. Every piece before a ";" is a
// mask, even an empty one; the rest after the last ";" only when not empty;
// no masks at all mean "*.*". An entry is taken when its attributes are
// within Attributes (hidden, system and folder entries need their bit).
// WithPath puts Folder (with a "\" added when missing) before each name.
std::vector<std::string> ListFiles(std::string Folder, const std::string& Masks,
                                   std::uint32_t Attributes, bool WithPath);

// Whether, for one of Masks in turn ("*.gif;*.jpg", split as ListFiles
// splits them), the first entry the system's search finds in Folder is a
// file rather than a folder. One search per mask, each ending at its
// first entry, and none after the first that holds a file.
bool FirstMatchIsFile(const std::string& Folder, const std::string& Masks);

// The text with its ASCII letters made upper case.
std::string AsciiUpperCase(std::string text);

}  // namespace bx
