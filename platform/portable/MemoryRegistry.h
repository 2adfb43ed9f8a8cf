// An in-memory registry with the Win32 semantics the registry operations
// rely on, and the controls tests need to set up and inspect it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace bx {

constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorBadPathname = 161;
constexpr long kErrorKeyDeleted = 1018;

struct TRegValue {
  std::string Name;
  std::uint32_t Type = 0;
  std::vector<std::uint8_t> Data;
};

// Keys under HKEY_CURRENT_USER and HKEY_USERS. Names compare without regard
// to ASCII case; subkeys and values keep their creation order. Opened keys
// are counted so tests can tell that every key was closed.
class TMemoryRegistry : public IRegistry {
 public:
  TMemoryRegistry();
  ~TMemoryRegistry() override;

  long OpenKey(RegKey parent, const std::string& subKey, std::uint32_t access,
               RegKey& result) override;
  // Creates every missing level, as RegCreateKeyEx does.
  long CreateKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                 RegKey& result) override;
  long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override;
  long SetValue(RegKey key, const std::string& name, std::uint32_t type,
                const std::uint8_t* data, std::uint32_t size) override;
  long DeleteValue(RegKey key, const std::string& name) override;
  long DeleteKey(RegKey parent, const std::string& subKey) override;
  long EnumKey(RegKey key, std::uint32_t index, std::string& name) override;
  long QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& values) override;
  long CloseKey(RegKey key) override;

  // ---- Test controls. Paths are taken from a root; a leading "\" is allowed.
  std::size_t OpenHandleCount() const;
  bool KeyExists(RegKey root, const std::string& path) const;
  void CreateKeyPath(RegKey root, const std::string& path);
  // Every open of the key fails with kErrorAccessDenied.
  void SetUnreadable(RegKey root, const std::string& path, bool on = true);
  // Opens and creates that ask for write rights fail with kErrorAccessDenied;
  // the key cannot be deleted and gets no new subkeys. Reading opens succeed.
  void SetReadOnly(RegKey root, const std::string& path, bool on = true);
  // SetValue on the key fails with kErrorAccessDenied.
  void SetFailSetValue(RegKey root, const std::string& path, bool on = true);
  // Seeding and inspection; setters create the key path.
  void SetRawValue(RegKey root, const std::string& path, const std::string& name,
                   std::uint32_t type, const std::vector<std::uint8_t>& data);
  std::optional<TRegValue> GetRawValue(RegKey root, const std::string& path,
                                       const std::string& name) const;
  void SetStringValue(RegKey root, const std::string& path, const std::string& name,
                      const std::string& text, std::uint32_t type = kRegSz);
  // The text of a REG_SZ or REG_EXPAND_SZ value, up to its first zero.
  std::optional<std::string> GetStringValue(RegKey root, const std::string& path,
                                            const std::string& name) const;
  void SetDwordValue(RegKey root, const std::string& path, const std::string& name,
                     std::uint32_t value);
  // The number of a REG_DWORD value of 4 bytes.
  std::optional<std::uint32_t> GetDwordValue(RegKey root, const std::string& path,
                                             const std::string& name) const;
  std::vector<std::string> SubKeyNames(RegKey root, const std::string& path) const;
  std::vector<std::string> ValueNames(RegKey root, const std::string& path) const;

 private:
  struct TNode;
  struct THandle {
    std::shared_ptr<TNode> Node;
    std::uint32_t Access = 0;
  };
  long Resolve(RegKey key, THandle& handle) const;
  TNode* Find(RegKey root, const std::string& path) const;
  TNode& Make(RegKey root, const std::string& path);
  RegKey NewHandle(const std::shared_ptr<TNode>& node, std::uint32_t access);

  mutable std::mutex FMutex;
  std::shared_ptr<TNode> FCurrentUser, FUsers;
  std::map<RegKey, THandle> FHandles;
  RegKey FNextHandle = 0x1000;
};

}  // namespace bx
