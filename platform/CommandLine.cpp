#include "platform/CommandLine.h"

namespace bx {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const std::size_t n = line.size();

  // The program: a path, which may not end in a backslash before a quote.
  std::string program;
  bool quoted = false;
  for (; i < n; ++i) {
    const char c = line[i];
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && IsBlank(c)) break;
    program += c;
  }
  args.push_back(program);

  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) break;
    std::string arg;
    quoted = false;
    while (i < n) {
      std::size_t slashes = 0;
      while (i < n && line[i] == '\\') {
        ++slashes;
        ++i;
      }
      if (i < n && line[i] == '"') {
        arg.append(slashes / 2, '\\');
        if (slashes % 2 == 1) {
          arg += '"';
          ++i;
        } else if (quoted && i + 1 < n && line[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
        continue;
      }
      arg.append(slashes, '\\');
      if (i >= n || (!quoted && IsBlank(line[i]))) break;
      arg += line[i++];
    }
    args.push_back(arg);
  }
  return args;
}

}  // namespace bx
