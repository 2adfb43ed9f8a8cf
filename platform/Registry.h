// The registry service, modelled on the Win32 registry calls.
#pragma once

#include <cstdint>
#include <string>

namespace bx {

using RegKey = std::uintptr_t;  // an open key, or one of the roots below

constexpr RegKey kHKeyCurrentUser = 0x80000001u;
constexpr RegKey kHKeyUsers = 0x80000003u;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kStandardRightsRead = 0x20000;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;

// Strings travel as UTF-16LE bytes with their terminating zero, as the wide
// registry interface stores them, so that sizes agree in every build.
class IRegistry {
 public:
  virtual ~IRegistry() = default;
  virtual long OpenKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                       RegKey& result) = 0;
  // Non-volatile, no class; opens the key when it exists.
  virtual long CreateKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                         RegKey& result) = 0;
  // As RegQueryValueEx: data may be null to ask for the size only; a buffer
  // too small gives kErrorMoreData with size set to the size needed.
  virtual long QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) = 0;
  virtual long SetValue(RegKey key, const std::string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) = 0;
  virtual long DeleteValue(RegKey key, const std::string& name) = 0;
  // Deletes a key without subkeys.
  virtual long DeleteKey(RegKey parent, const std::string& subKey) = 0;
  virtual long EnumKey(RegKey key, std::uint32_t index, std::string& name) = 0;
  virtual long QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& values) = 0;
  virtual long CloseKey(RegKey key) = 0;
};

}  // namespace bx
