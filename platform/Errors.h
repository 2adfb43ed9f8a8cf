// Errors are exceptions that carry the system's own message text.
#pragma once

#include <stdexcept>
#include <string>

namespace bx {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// Replaces the first "%s" (or "%d") of a message pattern with the argument.
inline std::string FormatText(const std::string& pattern, const std::string& argument) {
  for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] == '%' && (pattern[i + 1] == 's' || pattern[i + 1] == 'd'))
      return pattern.substr(0, i) + argument + pattern.substr(i + 2);
  }
  return pattern;
}

inline std::string FormatText(const std::string& pattern, long long argument) {
  return FormatText(pattern, std::to_string(argument));
}

}  // namespace bx
