// Splits a command line into parameters the way the Windows C runtime does
// for a program's arguments.
#pragma once

#include <string>
#include <vector>

namespace bx {

// Blanks and tabs separate; double quotes group and are removed; 2n
// backslashes before a quote give n backslashes and the quote groups, 2n+1
// give n backslashes and a literal quote; other backslashes are literal; a
// doubled quote inside a group is one literal quote. The first parameter,
// the program, takes quotes only as grouping and backslashes as they are.
std::vector<std::string> SplitCommandLine(const std::string& line);

}  // namespace bx
