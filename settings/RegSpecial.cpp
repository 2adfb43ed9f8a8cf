#include "settings/RegSpecial.h"

#include <cstring>
#include <vector>

#include "platform/Errors.h"
#include "platform/Utf16.h"

namespace bx {

namespace {

// Enough to test whether a key exists without asking for write rights.
constexpr std::uint32_t kKeyExistsAccess =
    kStandardRightsRead | kKeyQueryValue | kKeyEnumerateSubKeys;

IRegistry& Registry() { return *Platform().Registry; }

// An open key, closed when the holder goes, also when an error passes.
class TRegKeyHolder {
 public:
  TRegKeyHolder() = default;
  TRegKeyHolder(const TRegKeyHolder&) = delete;
  TRegKeyHolder& operator=(const TRegKeyHolder&) = delete;
  ~TRegKeyHolder() {
    if (FOpen) Registry().CloseKey(FKey);
  }
  long Open(RegKey parent, const std::string& path, std::uint32_t access) {
    return Take(Registry().OpenKey(parent, path, access, FKey));
  }
  long Create(RegKey parent, const std::string& path) {
    return Take(Registry().CreateKey(parent, path, kKeyAllAccess, FKey));
  }
  RegKey Key() const { return FKey; }

 private:
  long Take(long rc) {
    FOpen = rc == kErrorSuccess;
    return rc;
  }
  RegKey FKey = 0;
  bool FOpen = false;
};

// Paths are taken from the root key; a leading "\" says nothing more.
std::string KeyPath(const std::string& key) {
  return !key.empty() && key[0] == '\\' ? key.substr(1) : key;
}

bool KeyExists(RegKey root, const std::string& path) {
  TRegKeyHolder key;
  return key.Open(root, path, kKeyExistsAccess) == kErrorSuccess;
}

void CreateKeyPath(RegKey root, const std::string& path) {
  TRegKeyHolder key;
  if (key.Create(root, path) != kErrorSuccess)
    throw Exception(FormatText("Failed to create key %s", path));
}

[[noreturn]] void GetDataFailed(const std::string& name) {
  throw Exception(FormatText("Failed to get data for '%s'", name));
}

[[noreturn]] void InvalidDataType(const std::string& name) {
  throw Exception(FormatText("Invalid data type for '%s'", name));
}

// Queries a value into a buffer of exactly `size` bytes; returns type and
// the size stored.
std::uint32_t QueryFixed(RegKey key, const std::string& name, std::uint8_t* data,
                         std::uint32_t& size) {
  std::uint32_t type = 0;
  if (Registry().QueryValue(key, name, &type, data, &size) != kErrorSuccess)
    GetDataFailed(name);
  return type;
}

std::int32_t ReadDword(RegKey key, const std::string& name) {
  std::uint8_t data[4] = {};
  std::uint32_t size = sizeof data;
  if (QueryFixed(key, name, data, size) != kRegDword || size != sizeof data)
    InvalidDataType(name);
  std::int32_t value;
  std::memcpy(&value, data, sizeof value);
  return value;
}

std::vector<std::uint8_t> ReadBinary8(RegKey key, const std::string& name) {
  std::vector<std::uint8_t> data(8);
  std::uint32_t size = 8;
  if (QueryFixed(key, name, data.data(), size) != kRegBinary || size != 8)
    InvalidDataType(name);
  return data;
}

std::string ReadString(RegKey key, const std::string& name) {
  std::uint32_t type = 0, size = 0;
  if (Registry().QueryValue(key, name, &type, nullptr, &size) != kErrorSuccess)
    GetDataFailed(name);
  std::vector<std::uint8_t> data(size);
  if (Registry().QueryValue(key, name, &type, data.data(), &size) != kErrorSuccess)
    GetDataFailed(name);
  if (type != kRegSz && type != kRegExpandSz) InvalidDataType(name);
  return RegSzToUtf8(data.data(), size);
}

void ReadArray(RegKey key, const std::string& name, TVariant& result) {
  std::vector<std::uint8_t> data(static_cast<std::size_t>(VarArrayByteSize(result)));
  std::uint32_t size = static_cast<std::uint32_t>(data.size());
  std::uint32_t type = QueryFixed(key, name, data.data(), size);
  if (type == kRegSz || type == kRegExpandSz || type == kRegDword) InvalidDataType(name);
  std::memcpy(result.Bytes().data(), data.data(), size);
}

// Reads a value that exists as the kind of `result` (a copy of the default)
// prescribes; returns false for a kind that is not read.
bool ReadAs(RegKey key, const std::string& name, TVariant& result) {
  switch (result.VType()) {
    case varSmallint:
    case varInteger:
    case varByte: result = TVariant(ReadDword(key, name)); return true;
    case varBoolean: result = TVariant(ReadDword(key, name) != 0); return true;
    case varSingle:
    case varDouble: {
      double value;
      std::memcpy(&value, ReadBinary8(key, name).data(), 8);
      result = TVariant(value);
      return true;
    }
    case varCurrency: {
      std::int64_t value;
      std::memcpy(&value, ReadBinary8(key, name).data(), 8);
      result = TVariant::Currency(value);
      return true;
    }
    case varDate: {
      double value;
      std::memcpy(&value, ReadBinary8(key, name).data(), 8);
      result = TVariant::Date(value);
      return true;
    }
    case varString: result = TVariant(ReadString(key, name)); return true;
    default:
      if (result.IsArray() && VarArrayByteSize(result) > 0) {
        ReadArray(key, name, result);
        return true;
      }
      return false;
  }
}

void SetData(RegKey key, const std::string& name, std::uint32_t type,
             const std::vector<std::uint8_t>& data) {
  if (Registry().SetValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size())) !=
      kErrorSuccess)
    throw Exception(FormatText("Failed to set data for '%s'", name));
}

std::vector<std::uint8_t> DwordBytes(std::int32_t value) {
  std::vector<std::uint8_t> data(4);
  std::memcpy(data.data(), &value, 4);
  return data;
}

std::vector<std::uint8_t> DoubleBytes(double value) {
  std::vector<std::uint8_t> data(8);
  std::memcpy(data.data(), &value, 8);
  return data;
}

// Stores a value as its kind prescribes; false for a kind that is not stored.
bool WriteAs(RegKey key, const std::string& name, const TVariant& value) {
  switch (value.VType()) {
    case varSmallint:
    case varInteger:
    case varByte: SetData(key, name, kRegDword, DwordBytes(value.AsInteger())); return true;
    case varBoolean: SetData(key, name, kRegDword, DwordBytes(value.AsBoolean() ? 1 : 0)); return true;
    case varSingle:
    case varDouble:
    case varDate: SetData(key, name, kRegBinary, DoubleBytes(value.AsDouble())); return true;
    case varCurrency: {
      std::int64_t amount = value.AsCurrency();
      std::vector<std::uint8_t> data(8);
      std::memcpy(data.data(), &amount, 8);
      SetData(key, name, kRegBinary, data);
      return true;
    }
    case varString: SetData(key, name, kRegSz, Utf8ToRegSz(value.AsString())); return true;
    default:
      if (value.IsArray() && VarArrayByteSize(value) > 0) {
        std::vector<std::uint8_t> data(value.Bytes().begin(),
                                       value.Bytes().begin() + VarArrayByteSize(value));
        SetData(key, name, kRegBinary, data);
        return true;
      }
      return false;
  }
}

// Deletes parent\name with all its subkeys, depth first, the subkeys of a
// key from the last to the first. A key that cannot be opened with full
// access is left alone.
void DeleteKeyTree(RegKey parent, const std::string& name) {
  {
    TRegKeyHolder key;
    if (key.Open(parent, name, kKeyAllAccess) != kErrorSuccess) return;
    std::uint32_t subKeys = 0, values = 0;
    if (Registry().QueryInfoKey(key.Key(), subKeys, values) == kErrorSuccess) {
      for (std::uint32_t i = subKeys; i-- > 0;) {
        std::string subKey;
        if (Registry().EnumKey(key.Key(), i, subKey) == kErrorSuccess && !subKey.empty())
          DeleteKeyTree(key.Key(), subKey);
      }
    }
  }
  Registry().DeleteKey(parent, name);
}

}  // namespace

int VarArrayByteSize(const TVariant& value) {
  if (!value.IsArray() || value.HighBound() < value.LowBound()) return 0;
  std::int64_t count = static_cast<std::int64_t>(value.HighBound()) - value.LowBound() + 1;
  std::int64_t size = count * VarElementSize(value.ElementType());
  // An array's bytes always hold its elements; never trust bounds alone.
  if (size > static_cast<std::int64_t>(value.Bytes().size())) return 0;
  return static_cast<int>(size);
}

TVariant ReadRegistryValue(RegKey root, const std::string& key, const std::string& name,
                           const TVariant& defaultValue) {
  const std::string path = KeyPath(key);
  if (!KeyExists(root, path)) return defaultValue;
  TRegKeyHolder holder;
  if (holder.Open(root, path, kKeyAllAccess) != kErrorSuccess) return defaultValue;
  std::uint32_t type = 0, size = 0;
  if (Registry().QueryValue(holder.Key(), name, &type, nullptr, &size) != kErrorSuccess)
    return defaultValue;
  TVariant result = defaultValue;
  if (!ReadAs(holder.Key(), name, result)) return defaultValue;
  return result;
}

bool WriteRegistryValue(RegKey root, const std::string& key, const std::string& name,
                        const TVariant& value) {
  const std::string path = KeyPath(key);
  if (!KeyExists(root, path)) CreateKeyPath(root, path);
  TRegKeyHolder holder;
  // A key that exists but may not be changed is skipped; nothing was stored.
  if (holder.Create(root, path) != kErrorSuccess) return false;
  return WriteAs(holder.Key(), name, value);
}

void DeleteRegistryValue(RegKey root, const std::string& key, const std::string& name) {
  const std::string path = KeyPath(key);
  if (!KeyExists(root, path)) CreateKeyPath(root, path);
  TRegKeyHolder holder;
  if (holder.Create(root, path) != kErrorSuccess) return;
  Registry().DeleteValue(holder.Key(), name);
}

void DeleteRegistryKey(RegKey root, const std::string& key, bool deleteEmptyParents) {
  std::string path = KeyPath(key);
  // An empty path names the root itself: never wipe a whole hive.
  if (path.empty() || path == "\\") return;
  if (!KeyExists(root, path)) return;
  DeleteKeyTree(root, path);
  if (!deleteEmptyParents) return;
  if (!path.empty() && path.back() == '\\') path.pop_back();
  while (!path.empty()) {
    std::size_t last = path.rfind('\\');
    path.erase(last == std::string::npos ? 0 : last);
    if (path.empty()) return;
    if (!RegistryKeyIsEmpty(root, path)) return;
    DeleteKeyTree(root, path);
  }
}

// Only a missing key or one seen to hold nothing is empty: a key whose
// contents cannot be read counts as holding something, so that no key is
// ever deleted because a query failed.
bool RegistryKeyIsEmpty(RegKey root, const std::string& key) {
  const std::string path = KeyPath(key);
  TRegKeyHolder holder;
  const long rc = holder.Open(root, path, kKeyAllAccess);
  if (rc == kErrorFileNotFound) return true;
  if (rc != kErrorSuccess) return false;
  std::uint32_t subKeys = 0, values = 0;
  if (Registry().QueryInfoKey(holder.Key(), subKeys, values) != kErrorSuccess) return false;
  return subKeys == 0 && values == 0;
}

void CheckEnvironment() {
  TPlatform& platform = Platform();
  if (platform.System->IsWindows95OrNT()) return;
  platform.MessageBoxes->SimpleMessage("This program requires Windows 95/NT");
  platform.System->EndProgram();
}

}  // namespace bx
