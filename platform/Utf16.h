// UTF-8 text of the logic to and from the UTF-16 the wide registry interface
// stores. Malformed input never fails: each bad unit becomes U+FFFD.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bx {

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

// A REG_SZ as stored: UTF-16LE code units and a terminating zero.
std::vector<std::uint8_t> Utf8ToRegSz(const std::string& text);
// Stored REG_SZ bytes back to text, ending at the first zero character; an
// odd trailing byte is ignored.
std::string RegSzToUtf8(const std::uint8_t* data, std::size_t size);

}  // namespace bx
