// The registry operations against Wine's real registry, through the wide
// Reg* calls, below a scratch key of their own.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "platform/Errors.h"
#include "platform/Utf16.h"
#include "platform/win32/WinRegistry.h"
#include "settings/RegSpecial.h"

namespace bx {
namespace {

template <typename F>
std::string ErrorOf(F call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

class WinRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TPlatform platform = Platform();
    platform.Registry = &WinRegistry();
    FPrevious = SetPlatform(platform);
    Scratch = "\\Software\\Mobrelin\\BexoraTest\\" +
              std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    DeleteRegistryKey(kHKeyCurrentUser, Scratch, false);
  }
  void TearDown() override {
    DeleteRegistryKey(kHKeyCurrentUser, Scratch, true);
    EXPECT_FALSE(KeyExists(Scratch)) << "scratch key left behind";
    SetPlatform(FPrevious);
  }

  bool KeyExists(const std::string& path) {
    RegKey key = 0;
    if (WinRegistry().OpenKey(kHKeyCurrentUser, path.substr(1), kKeyQueryValue, key)) return false;
    WinRegistry().CloseKey(key);
    return true;
  }
  // The type and bytes stored, read back with the raw calls.
  bool Raw(const std::string& path, const std::string& name, std::uint32_t& type,
           std::vector<std::uint8_t>& data) {
    RegKey key = 0;
    if (WinRegistry().OpenKey(kHKeyCurrentUser, path.substr(1), kKeyQueryValue, key)) return false;
    std::uint32_t size = 0;
    long rc = WinRegistry().QueryValue(key, name, &type, nullptr, &size);
    data.assign(size, 0);
    if (rc == 0) rc = WinRegistry().QueryValue(key, name, &type, data.data(), &size);
    WinRegistry().CloseKey(key);
    return rc == 0;
  }
  void SetRaw(const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& data) {
    RegKey key = 0;
    ASSERT_EQ(WinRegistry().CreateKey(kHKeyCurrentUser, Scratch.substr(1), kKeyAllAccess, key), 0);
    EXPECT_EQ(WinRegistry().SetValue(key, name, type, data.data(),
                                     static_cast<std::uint32_t>(data.size())),
              0);
    WinRegistry().CloseKey(key);
  }

  std::string Scratch;

 private:
  TPlatform FPrevious;
};

TEST_F(WinRegistryTest, KindsAreStoredWithTheirTypesAndReadBack) {
  const std::string deep = Scratch + "\\Desktop\\Level";
  EXPECT_TRUE(WriteRegistryValue(kHKeyCurrentUser, deep, "Zero", TVariant("0")));
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(Raw(deep, "Zero", type, data)) << "every level created";
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(data, (std::vector<std::uint8_t>{'0', 0, 0, 0}));

  EXPECT_TRUE(WriteRegistryValue(kHKeyCurrentUser, Scratch, "Byte", TVariant(std::uint8_t{7})));
  ASSERT_TRUE(Raw(Scratch, "Byte", type, data));
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(data, (std::vector<std::uint8_t>{7, 0, 0, 0}));
  EXPECT_TRUE(WriteRegistryValue(kHKeyCurrentUser, Scratch, "Bool", TVariant(true)));
  EXPECT_TRUE(WriteRegistryValue(kHKeyCurrentUser, Scratch, "Double", TVariant(0.5)));
  ASSERT_TRUE(Raw(Scratch, "Double", type, data));
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(data.size(), 8u);
  EXPECT_TRUE(WriteRegistryValue(kHKeyCurrentUser, Scratch, "Bytes",
                                 TVariant::Array(varByte, 0, 2, {1, 2, 3})));
  const std::string text = "Bild \xC3\xA4\xE2\x82\xAC";
  EXPECT_TRUE(WriteRegistryValue(kHKeyCurrentUser, Scratch, "Text", TVariant(text)));
  EXPECT_FALSE(WriteRegistryValue(kHKeyCurrentUser, Scratch, "Empty", TVariant()));
  EXPECT_FALSE(Raw(Scratch, "Empty", type, data));

  EXPECT_EQ(ReadRegistryValue(kHKeyCurrentUser, Scratch, "Byte", TVariant(0)), TVariant(7));
  EXPECT_EQ(ReadRegistryValue(kHKeyCurrentUser, Scratch, "Bool", TVariant(false)), TVariant(true));
  EXPECT_EQ(ReadRegistryValue(kHKeyCurrentUser, Scratch, "Double", TVariant(0.0)), TVariant(0.5));
  EXPECT_EQ(ReadRegistryValue(kHKeyCurrentUser, Scratch, "Bytes", TVariant::Array(varByte, 0, 3)),
            TVariant::Array(varByte, 0, 3, {1, 2, 3, 0}));
  EXPECT_EQ(ReadRegistryValue(kHKeyCurrentUser, Scratch, "Text", TVariant("")).AsString(), text);
  EXPECT_EQ(ReadRegistryValue(kHKeyCurrentUser, Scratch, "Missing", TVariant("d")), TVariant("d"));
  EXPECT_EQ(ReadRegistryValue(kHKeyCurrentUser, Scratch + "\\None", "X", TVariant(3)), TVariant(3));
}

TEST_F(WinRegistryTest, WrongTypesAndSizesRaiseNamingTheValue) {
  SetRaw("One", kRegSz, Utf8ToRegSz("1"));
  SetRaw("Ten", kRegSz, Utf8ToRegSz("10"));
  SetRaw("Dword", kRegDword, {1, 0, 0, 0});
  SetRaw("Expand", kRegExpandSz, Utf8ToRegSz("%SystemRoot%\\x"));
  auto read = [&](const std::string& name, const TVariant& dflt) {
    return ErrorOf([&] { ReadRegistryValue(kHKeyCurrentUser, Scratch, name, dflt); });
  };
  EXPECT_EQ(read("One", TVariant(0)), "Invalid data type for 'One'");
  EXPECT_EQ(read("Ten", TVariant(0)), "Failed to get data for 'Ten'");
  EXPECT_EQ(read("Dword", TVariant("")), "Invalid data type for 'Dword'");
  EXPECT_EQ(ReadRegistryValue(kHKeyCurrentUser, Scratch, "Expand", TVariant("")).AsString(),
            "%SystemRoot%\\x");
}

TEST_F(WinRegistryTest, DeletingValuesKeysAndEmptyParents) {
  DeleteRegistryValue(kHKeyCurrentUser, Scratch + "\\Left", "V");
  EXPECT_TRUE(KeyExists(Scratch + "\\Left"));
  EXPECT_TRUE(RegistryKeyIsEmpty(kHKeyCurrentUser, Scratch + "\\Left"));

  const std::string own = Scratch + "\\Mobrelin\\Bexora";
  WriteRegistryValue(kHKeyCurrentUser, own + "\\A\\A1", "V", TVariant(1));
  WriteRegistryValue(kHKeyCurrentUser, own + "\\B", "V", TVariant(2));
  WriteRegistryValue(kHKeyCurrentUser, own, "ShowHint", TVariant(true));
  EXPECT_FALSE(RegistryKeyIsEmpty(kHKeyCurrentUser, own));
  DeleteRegistryValue(kHKeyCurrentUser, own, "ShowHint");
  EXPECT_FALSE(RegistryKeyIsEmpty(kHKeyCurrentUser, own)) << "subkeys remain";

  DeleteRegistryKey(kHKeyCurrentUser, own, true);
  EXPECT_FALSE(KeyExists(own));
  EXPECT_FALSE(KeyExists(Scratch + "\\Mobrelin")) << "left empty, so removed";
  EXPECT_TRUE(KeyExists(Scratch)) << "still holds \"Left\"";
}

}  // namespace
}  // namespace bx
