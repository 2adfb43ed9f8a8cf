// The text entries of a module's version resource, read by walking the raw
// block in its usual fixed layout (root VS_VERSION_INFO with a 52-byte
// VS_FIXEDFILEINFO, StringFileInfo as its first child) rather than through
// the platform's version-information functions.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace bx {

// The smallest multiple of 4 not below value.
int AlignDWord(int value);

// The lines Key=Value of the first string table, in stored order. lines is
// cleared first. Throws "Unrecognised version block" when StringFileInfo is
// not the root's first child after the fixed information. Nothing outside
// data is ever read: entries and texts that reach its end are cut there,
// and a key or value never runs on past the end of its own entry.
// An "=" inside a key becomes "_", so that every line splits at its first "=".
void ParseStringFileInfo(std::span<const std::uint8_t> data, std::vector<std::string>& lines);

// The lines of the file's version resource (the resource of type RT_VERSION
// with the name 1); empty for an empty name, a missing file, a file that is
// no module or one without that resource. Throws as ParseStringFileInfo.
std::vector<std::string> GetVersionStrings(const std::string& fileName);

}  // namespace bx
