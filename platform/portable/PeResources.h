// Resources of a PE module file (32- or 64-bit) read from its bytes: what
// the portable build uses in place of mapping a module as data.
#pragma once

#include <cstdint>
#include <span>

namespace bx {

// The data of the resource with integer type and name, first language.
// False when the bytes are no PE module or hold no such resource. Every
// offset and size the file gives is checked against its bytes.
bool FindPeResource(std::span<const std::uint8_t> module, std::uint16_t type, std::uint16_t name,
                    std::span<const std::uint8_t>& resource);

}  // namespace bx
