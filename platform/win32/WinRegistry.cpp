#include "platform/win32/WinRegistry.h"

#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"

namespace bx {

namespace {

// The roots keep the values Win32 gives them on 32-bit systems; on 64-bit
// systems the predefined handles are sign-extended, so they are mapped.
HKEY ToHkey(RegKey key) {
  if (key == kHKeyCurrentUser) return HKEY_CURRENT_USER;
  if (key == kHKeyUsers) return HKEY_USERS;
  return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

class TWinRegistry : public IRegistry {
 public:
  long OpenKey(RegKey parent, const std::string& subKey, std::uint32_t access,
               RegKey& result) override {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(ToHkey(parent), Widen(subKey).c_str(), 0, access, &key);
    if (rc == ERROR_SUCCESS) result = FromHkey(key);
    return rc;
  }

  long CreateKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                 RegKey& result) override {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(ToHkey(parent), Widen(subKey).c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) result = FromHkey(key);
    return rc;
  }

  long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override {
    DWORD t = 0;
    DWORD s = size ? *size : 0;
    LONG rc = RegQueryValueExW(ToHkey(key), Widen(name).c_str(), nullptr, &t, data,
                               size ? &s : nullptr);
    if (type) *type = t;
    if (size) *size = s;
    return rc;
  }

  long SetValue(RegKey key, const std::string& name, std::uint32_t type,
                const std::uint8_t* data, std::uint32_t size) override {
    return RegSetValueExW(ToHkey(key), Widen(name).c_str(), 0, type, data, size);
  }

  long DeleteValue(RegKey key, const std::string& name) override {
    return RegDeleteValueW(ToHkey(key), Widen(name).c_str());
  }

  long DeleteKey(RegKey parent, const std::string& subKey) override {
    return RegDeleteKeyW(ToHkey(parent), Widen(subKey).c_str());
  }

  long EnumKey(RegKey key, std::uint32_t index, std::string& name) override {
    wchar_t buffer[256];  // key names have at most 255 characters
    DWORD length = 256;
    LONG rc = RegEnumKeyExW(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr,
                            nullptr);
    if (rc == ERROR_SUCCESS) name = Narrow(std::wstring(buffer, length));
    return rc;
  }

  long QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& values) override {
    DWORD k = 0, v = 0;
    LONG rc = RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, &k, nullptr, nullptr, &v,
                               nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) {
      subKeys = k;
      values = v;
    }
    return rc;
  }

  // The roots stay open for the whole process.
  long CloseKey(RegKey key) override {
    if (key == kHKeyCurrentUser || key == kHKeyUsers) return ERROR_SUCCESS;
    return RegCloseKey(ToHkey(key));
  }
};

}  // namespace

IRegistry& WinRegistry() {
  static TWinRegistry registry;
  return registry;
}

}  // namespace bx
