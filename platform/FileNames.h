// File names as the system treats them, and the Windows folder.
#pragma once

#include <string>

namespace bx {

// The text after the last "." that follows the last path delimiter ("\",
// "/" or ":"), as written; empty when there is none.
std::string FileExtension(const std::string& fileName);
// File names compared as the system compares them: a to z without regard to
// case, every other character exactly.
bool SameFileName(const std::string& a, const std::string& b);
// The system's wildcard match: "*" any run of characters, "?" any one,
// letters compared without regard to case; "*.*" matches every name.
bool MatchesMask(const std::string& name, const std::string& mask);
// The same match over names and masks folded once (FoldedName), for a
// listing that matches many names against a few masks.
std::u32string FoldedName(const std::string& name);
bool MatchesFoldedMask(const std::u32string& name, const std::u32string& mask);

// Names compared without regard to case: <0, 0 or >0. Letters of the
// scripts of Europe are folded, everything else compares by code point.
int CompareFileNames(const std::string& a, const std::string& b);

// The Windows folder with a trailing "\".
std::string GetWindowsFolder();

}  // namespace bx
