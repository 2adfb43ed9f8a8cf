#include "platform/portable/MemoryRegistry.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Utf16.h"

namespace bx {

namespace {

constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
// Rights that change a key: set value, create subkey, create link, delete,
// write DAC, write owner.
constexpr std::uint32_t kWriteRights = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;

bool SameName(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

// Splits a subkey path into names; false for a path Win32 rejects (a
// leading "\" or an empty name inside). One trailing "\" is allowed.
bool SplitPath(std::string path, std::vector<std::string>& names) {
  names.clear();
  if (path.empty()) return true;
  if (path.front() == '\\') return false;
  if (path.back() == '\\') path.pop_back();
  std::size_t start = 0;
  while (true) {
    std::size_t end = path.find('\\', start);
    std::string name = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (name.empty()) return false;
    names.push_back(name);
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

std::string WithoutLeadingBackslash(const std::string& path) {
  return !path.empty() && path[0] == '\\' ? path.substr(1) : path;
}

}  // namespace

struct TMemoryRegistry::TNode {
  std::string Name;
  TNode* Parent = nullptr;
  std::vector<std::shared_ptr<TNode>> Children;
  std::vector<TRegValue> Values;
  bool Deleted = false;
  bool Unreadable = false;
  bool ReadOnly = false;
  bool FailSetValue = false;

  std::shared_ptr<TNode> Child(const std::string& name) const {
    for (const auto& child : Children)
      if (SameName(child->Name, name)) return child;
    return nullptr;
  }
  TRegValue* Value(const std::string& name) {
    for (auto& value : Values)
      if (SameName(value.Name, name)) return &value;
    return nullptr;
  }
  long CheckOpen(std::uint32_t access) const {
    if (Unreadable) return kErrorAccessDenied;
    if (ReadOnly && (access & kWriteRights)) return kErrorAccessDenied;
    return kErrorSuccess;
  }
};

TMemoryRegistry::TMemoryRegistry()
    : FCurrentUser(std::make_shared<TNode>()), FUsers(std::make_shared<TNode>()) {
  FCurrentUser->Name = "HKEY_CURRENT_USER";
  FUsers->Name = "HKEY_USERS";
}

TMemoryRegistry::~TMemoryRegistry() = default;

long TMemoryRegistry::Resolve(RegKey key, THandle& handle) const {
  if (key == kHKeyCurrentUser) {
    handle = {FCurrentUser, kKeyAllAccess};
    return kErrorSuccess;
  }
  if (key == kHKeyUsers) {
    handle = {FUsers, kKeyAllAccess};
    return kErrorSuccess;
  }
  auto it = FHandles.find(key);
  if (it == FHandles.end()) return kErrorInvalidHandle;
  if (it->second.Node->Deleted) return kErrorKeyDeleted;
  handle = it->second;
  return kErrorSuccess;
}

RegKey TMemoryRegistry::NewHandle(const std::shared_ptr<TNode>& node, std::uint32_t access) {
  RegKey key = FNextHandle;
  FNextHandle += 4;
  FHandles[key] = {node, access};
  return key;
}

long TMemoryRegistry::OpenKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                              RegKey& result) {
  std::lock_guard lock(FMutex);
  THandle handle;
  if (long rc = Resolve(parent, handle)) return rc;
  std::vector<std::string> names;
  if (!SplitPath(subKey, names)) return kErrorBadPathname;
  std::shared_ptr<TNode> node = handle.Node;
  for (const auto& name : names) {
    node = node->Child(name);
    if (!node) return kErrorFileNotFound;
  }
  if (long rc = node->CheckOpen(access)) return rc;
  result = NewHandle(node, access);
  return kErrorSuccess;
}

long TMemoryRegistry::CreateKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                                RegKey& result) {
  std::lock_guard lock(FMutex);
  THandle handle;
  if (long rc = Resolve(parent, handle)) return rc;
  std::vector<std::string> names;
  if (!SplitPath(subKey, names)) return kErrorBadPathname;
  std::shared_ptr<TNode> node = handle.Node;
  std::size_t i = 0;
  for (; i < names.size(); ++i) {
    auto child = node->Child(names[i]);
    if (!child) break;
    node = child;
  }
  if (i < names.size()) {
    // The first missing level is made below a key that must allow it.
    if (node->Unreadable || node->ReadOnly) return kErrorAccessDenied;
    if (node == handle.Node && !(handle.Access & kKeyCreateSubKey)) return kErrorAccessDenied;
    for (; i < names.size(); ++i) {
      auto child = std::make_shared<TNode>();
      child->Name = names[i];
      child->Parent = node.get();
      node->Children.push_back(child);
      node = child;
    }
  } else if (long rc = node->CheckOpen(access)) {
    return rc;
  }
  result = NewHandle(node, access);
  return kErrorSuccess;
}

long TMemoryRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) {
  std::lock_guard lock(FMutex);
  THandle handle;
  if (long rc = Resolve(key, handle)) return rc;
  if (!(handle.Access & kKeyQueryValue)) return kErrorAccessDenied;
  if (data && !size) return kErrorInvalidParameter;
  TRegValue* value = handle.Node->Value(name);
  if (!value) return kErrorFileNotFound;
  if (type) *type = value->Type;
  const auto needed = static_cast<std::uint32_t>(value->Data.size());
  if (!data) {
    if (size) *size = needed;
    return kErrorSuccess;
  }
  if (*size < needed) {
    *size = needed;
    return kErrorMoreData;
  }
  std::copy(value->Data.begin(), value->Data.end(), data);
  *size = needed;
  return kErrorSuccess;
}

long TMemoryRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) {
  std::lock_guard lock(FMutex);
  THandle handle;
  if (long rc = Resolve(key, handle)) return rc;
  if (!(handle.Access & kKeySetValue) || handle.Node->FailSetValue) return kErrorAccessDenied;
  if (!data && size > 0) return kErrorInvalidParameter;
  std::vector<std::uint8_t> bytes(data, data + size);
  if (TRegValue* value = handle.Node->Value(name)) {
    value->Type = type;
    value->Data = std::move(bytes);
  } else {
    handle.Node->Values.push_back({name, type, std::move(bytes)});
  }
  return kErrorSuccess;
}

long TMemoryRegistry::DeleteValue(RegKey key, const std::string& name) {
  std::lock_guard lock(FMutex);
  THandle handle;
  if (long rc = Resolve(key, handle)) return rc;
  if (!(handle.Access & kKeySetValue)) return kErrorAccessDenied;
  auto& values = handle.Node->Values;
  auto it = std::find_if(values.begin(), values.end(),
                         [&](const TRegValue& v) { return SameName(v.Name, name); });
  if (it == values.end()) return kErrorFileNotFound;
  values.erase(it);
  return kErrorSuccess;
}

long TMemoryRegistry::DeleteKey(RegKey parent, const std::string& subKey) {
  std::lock_guard lock(FMutex);
  THandle handle;
  if (long rc = Resolve(parent, handle)) return rc;
  std::vector<std::string> names;
  if (!SplitPath(subKey, names)) return kErrorBadPathname;
  if (names.empty()) return kErrorInvalidParameter;
  std::shared_ptr<TNode> node = handle.Node;
  for (const auto& name : names) {
    node = node->Child(name);
    if (!node) return kErrorFileNotFound;
  }
  if (node->Unreadable || node->ReadOnly || !node->Children.empty()) return kErrorAccessDenied;
  auto& siblings = node->Parent->Children;
  siblings.erase(std::find(siblings.begin(), siblings.end(), node));
  node->Deleted = true;  // handles still open on it now fail
  node->Parent = nullptr;
  return kErrorSuccess;
}

long TMemoryRegistry::EnumKey(RegKey key, std::uint32_t index, std::string& name) {
  std::lock_guard lock(FMutex);
  THandle handle;
  if (long rc = Resolve(key, handle)) return rc;
  if (!(handle.Access & kKeyEnumerateSubKeys)) return kErrorAccessDenied;
  if (index >= handle.Node->Children.size()) return kErrorNoMoreItems;
  name = handle.Node->Children[index]->Name;
  return kErrorSuccess;
}

long TMemoryRegistry::QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& values) {
  std::lock_guard lock(FMutex);
  THandle handle;
  if (long rc = Resolve(key, handle)) return rc;
  if (!(handle.Access & kKeyQueryValue)) return kErrorAccessDenied;
  subKeys = static_cast<std::uint32_t>(handle.Node->Children.size());
  values = static_cast<std::uint32_t>(handle.Node->Values.size());
  return kErrorSuccess;
}

long TMemoryRegistry::CloseKey(RegKey key) {
  std::lock_guard lock(FMutex);
  if (key == kHKeyCurrentUser || key == kHKeyUsers) return kErrorSuccess;
  return FHandles.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

// ---- Test controls ---------------------------------------------------------

TMemoryRegistry::TNode* TMemoryRegistry::Find(RegKey root, const std::string& path) const {
  THandle handle;
  if (root != kHKeyCurrentUser && root != kHKeyUsers) return nullptr;
  Resolve(root, handle);
  std::vector<std::string> names;
  if (!SplitPath(WithoutLeadingBackslash(path), names)) return nullptr;
  std::shared_ptr<TNode> node = handle.Node;
  for (const auto& name : names) {
    node = node->Child(name);
    if (!node) return nullptr;
  }
  return node.get();
}

TMemoryRegistry::TNode& TMemoryRegistry::Make(RegKey root, const std::string& path) {
  THandle handle;
  if (root != kHKeyCurrentUser && root != kHKeyUsers) throw std::invalid_argument("root key");
  Resolve(root, handle);
  std::vector<std::string> names;
  if (!SplitPath(WithoutLeadingBackslash(path), names)) throw std::invalid_argument(path);
  std::shared_ptr<TNode> node = handle.Node;
  for (const auto& name : names) {
    auto child = node->Child(name);
    if (!child) {
      child = std::make_shared<TNode>();
      child->Name = name;
      child->Parent = node.get();
      node->Children.push_back(child);
    }
    node = child;
  }
  return *node;
}

std::size_t TMemoryRegistry::OpenHandleCount() const {
  std::lock_guard lock(FMutex);
  return FHandles.size();
}

bool TMemoryRegistry::KeyExists(RegKey root, const std::string& path) const {
  std::lock_guard lock(FMutex);
  return Find(root, path) != nullptr;
}

void TMemoryRegistry::CreateKeyPath(RegKey root, const std::string& path) {
  std::lock_guard lock(FMutex);
  Make(root, path);
}

void TMemoryRegistry::SetUnreadable(RegKey root, const std::string& path, bool on) {
  std::lock_guard lock(FMutex);
  Make(root, path).Unreadable = on;
}

void TMemoryRegistry::SetReadOnly(RegKey root, const std::string& path, bool on) {
  std::lock_guard lock(FMutex);
  Make(root, path).ReadOnly = on;
}

void TMemoryRegistry::SetFailSetValue(RegKey root, const std::string& path, bool on) {
  std::lock_guard lock(FMutex);
  Make(root, path).FailSetValue = on;
}

void TMemoryRegistry::SetRawValue(RegKey root, const std::string& path, const std::string& name,
                                  std::uint32_t type, const std::vector<std::uint8_t>& data) {
  std::lock_guard lock(FMutex);
  TNode& node = Make(root, path);
  if (TRegValue* value = node.Value(name)) {
    value->Type = type;
    value->Data = data;
  } else {
    node.Values.push_back({name, type, data});
  }
}

std::optional<TRegValue> TMemoryRegistry::GetRawValue(RegKey root, const std::string& path,
                                                      const std::string& name) const {
  std::lock_guard lock(FMutex);
  TNode* node = Find(root, path);
  if (!node) return std::nullopt;
  TRegValue* value = node->Value(name);
  if (!value) return std::nullopt;
  return *value;
}

void TMemoryRegistry::SetStringValue(RegKey root, const std::string& path, const std::string& name,
                                     const std::string& text, std::uint32_t type) {
  SetRawValue(root, path, name, type, Utf8ToRegSz(text));
}

std::optional<std::string> TMemoryRegistry::GetStringValue(RegKey root, const std::string& path,
                                                           const std::string& name) const {
  auto value = GetRawValue(root, path, name);
  if (!value || (value->Type != kRegSz && value->Type != kRegExpandSz)) return std::nullopt;
  return RegSzToUtf8(value->Data.data(), value->Data.size());
}

void TMemoryRegistry::SetDwordValue(RegKey root, const std::string& path, const std::string& name,
                                    std::uint32_t value) {
  SetRawValue(root, path, name, kRegDword,
              {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
               static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

std::optional<std::uint32_t> TMemoryRegistry::GetDwordValue(RegKey root, const std::string& path,
                                                            const std::string& name) const {
  auto value = GetRawValue(root, path, name);
  if (!value || value->Type != kRegDword || value->Data.size() != 4) return std::nullopt;
  const auto& d = value->Data;
  return static_cast<std::uint32_t>(d[0] | (d[1] << 8) | (d[2] << 16) |
                                    (static_cast<std::uint32_t>(d[3]) << 24));
}

std::vector<std::string> TMemoryRegistry::SubKeyNames(RegKey root, const std::string& path) const {
  std::lock_guard lock(FMutex);
  std::vector<std::string> names;
  if (TNode* node = Find(root, path))
    for (const auto& child : node->Children) names.push_back(child->Name);
  return names;
}

std::vector<std::string> TMemoryRegistry::ValueNames(RegKey root, const std::string& path) const {
  std::lock_guard lock(FMutex);
  std::vector<std::string> names;
  if (TNode* node = Find(root, path))
    for (const auto& value : node->Values) names.push_back(value.Name);
  return names;
}

}  // namespace bx
