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
// The Windows folder with a trailing "\".
std::string GetWindowsFolder();

}  // namespace bx
