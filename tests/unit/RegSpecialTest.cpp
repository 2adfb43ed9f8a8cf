#include <gtest/gtest.h>

#include <cstring>

#include "binding/portable/PortableEnvironment.h"
#include "platform/Errors.h"
#include "platform/Utf16.h"
#include "settings/RegSpecial.h"

namespace bx {
namespace {

const std::string kKey = "\\Software\\Mobrelin\\Bexora";
const std::string kPath = "Software\\Mobrelin\\Bexora";

std::vector<std::uint8_t> Le32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

template <typename T>
std::vector<std::uint8_t> Raw8(T value) {
  static_assert(sizeof(T) == 8);
  std::vector<std::uint8_t> bytes(8);
  std::memcpy(bytes.data(), &value, 8);
  return bytes;
}

// The message of the error a call raises, or "" when it raises none.
template <typename F>
std::string ErrorOf(F call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

class RegSpecialTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(Reg.OpenHandleCount(), 0u) << "a key was left open"; }

  void ExpectStored(const std::string& name, std::uint32_t type,
                    const std::vector<std::uint8_t>& data) {
    auto value = Reg.GetRawValue(kHKeyCurrentUser, kPath, name);
    ASSERT_TRUE(value) << name;
    EXPECT_EQ(value->Type, type) << name;
    EXPECT_EQ(value->Data, data) << name;
  }

  TPortableEnvironment Env;
  TMemoryRegistry& Reg = Env.Registry();
};

TEST_F(RegSpecialTest, EveryKindIsStoredWithItsTypeAndReadBack) {
  const RegKey cu = kHKeyCurrentUser;
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "Int", TVariant(std::int32_t{-5})));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "Small", TVariant(std::int16_t{300})));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "Byte", TVariant(std::uint8_t{7})));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "True", TVariant(true)));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "False", TVariant(false)));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "Single", TVariant(1.5f)));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "Double", TVariant(-2.25)));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "Currency", TVariant::Currency(123456789)));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "Date", TVariant::Date(45000.75)));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "Text", TVariant("Zürich \xF0\x9F\x8C\x84")));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "Bytes",
                                 TVariant::Array(varByte, 0, 3, {1, 2, 3, 4})));
  EXPECT_TRUE(WriteRegistryValue(cu, kKey, "Smalls",
                                 TVariant::Array(varSmallint, 1, 2, {0x34, 0x12, 0xFF, 0xFF})));

  ExpectStored("Int", kRegDword, Le32(0xFFFFFFFB));
  ExpectStored("Small", kRegDword, Le32(300));
  ExpectStored("Byte", kRegDword, Le32(7));
  ExpectStored("True", kRegDword, Le32(1));
  ExpectStored("False", kRegDword, Le32(0));
  ExpectStored("Single", kRegBinary, Raw8(1.5));
  ExpectStored("Double", kRegBinary, Raw8(-2.25));
  ExpectStored("Currency", kRegBinary, Raw8(std::int64_t{123456789}));
  ExpectStored("Date", kRegBinary, Raw8(45000.75));
  ExpectStored("Text", kRegSz, Utf8ToRegSz("Zürich \xF0\x9F\x8C\x84"));
  ExpectStored("Bytes", kRegBinary, {1, 2, 3, 4});
  ExpectStored("Smalls", kRegBinary, {0x34, 0x12, 0xFF, 0xFF});

  // Integers of any kind come back as integers.
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Int", TVariant(std::int32_t{0})), TVariant(-5));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Small", TVariant(std::int16_t{0})), TVariant(300));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Byte", TVariant(std::uint8_t{0})), TVariant(7));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "True", TVariant(false)), TVariant(true));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "False", TVariant(true)), TVariant(false));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Single", TVariant(0.0f)), TVariant(1.5));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Double", TVariant(0.0)), TVariant(-2.25));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Currency", TVariant::Currency(0)),
            TVariant::Currency(123456789));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Date", TVariant::Date(0)), TVariant::Date(45000.75));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Text", TVariant("")).AsString(),
            "Zürich \xF0\x9F\x8C\x84");
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Bytes", TVariant::Array(varByte, 0, 3)),
            TVariant::Array(varByte, 0, 3, {1, 2, 3, 4}));

  // Any non-zero number reads as true.
  Reg.SetDwordValue(cu, kPath, "Five", 5);
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Five", TVariant(false)), TVariant(true));

  // Stored array bytes go over the start of a copy of the default; the rest stays.
  TVariant longer = TVariant::Array(varByte, 0, 5, {9, 9, 9, 9, 9, 9});
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Bytes", longer),
            TVariant::Array(varByte, 0, 5, {1, 2, 3, 4, 9, 9}));
  Reg.SetRawValue(cu, kPath, "Other", 7 /* REG_MULTI_SZ */, {0x41, 0, 0, 0});
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Other", longer),
            TVariant::Array(varByte, 0, 5, {0x41, 0, 0, 0, 9, 9}));
}

TEST_F(RegSpecialTest, StringZeroCreatesEveryLevelOfAMissingKey) {
  EXPECT_FALSE(Reg.KeyExists(kHKeyCurrentUser, "Software"));
  EXPECT_TRUE(WriteRegistryValue(kHKeyCurrentUser, "\\Software\\A\\B\\C", "V", TVariant("0")));
  ASSERT_TRUE(Reg.KeyExists(kHKeyCurrentUser, "Software\\A\\B\\C"));
  auto value = Reg.GetRawValue(kHKeyCurrentUser, "Software\\A\\B\\C", "V");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->Type, kRegSz);
  // UTF-16: "0" and its terminating zero.
  EXPECT_EQ(value->Data, (std::vector<std::uint8_t>{0x30, 0, 0, 0}));
  // The path without its leading "\" names the same key.
  EXPECT_EQ(ReadRegistryValue(kHKeyCurrentUser, "Software\\a\\b\\c", "v", TVariant("x")).AsString(),
            "0");
}

TEST_F(RegSpecialTest, MissingKeysAndValuesGiveTheDefaultOfItsKind) {
  const RegKey cu = kHKeyCurrentUser;
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "None", TVariant("dflt")), TVariant("dflt"));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "None", TVariant(42)), TVariant(42));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "None", TVariant(true)), TVariant(true));
  EXPECT_FALSE(Reg.KeyExists(cu, kPath)) << "reading created a key";

  Reg.SetStringValue(cu, kPath, "Other", "x");
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "None", TVariant("")).VType(), varString);
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "None", TVariant(std::uint8_t{3})), TVariant(std::uint8_t{3}));

  // Kinds that are not read give the default back even when a value exists.
  Reg.SetDwordValue(cu, kPath, "Dword", 1);
  EXPECT_TRUE(ReadRegistryValue(cu, kKey, "Dword", TVariant()).IsEmpty());
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Dword", TVariant::Null()).VType(), varNull);
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Other", TVariant::WideString(u"w")),
            TVariant::WideString(u"w"));
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Dword", TVariant::Array(varByte, 0, -1)),
            TVariant::Array(varByte, 0, -1));
}

TEST_F(RegSpecialTest, ValuesOfTheWrongTypeOrSizeRaiseNamingTheValue) {
  const RegKey cu = kHKeyCurrentUser;
  Reg.SetStringValue(cu, kPath, "TileWallpaper", "1");      // 4 bytes: fits, wrong type
  Reg.SetStringValue(cu, kPath, "WallpaperStyle", "10");    // 6 bytes: does not fit
  Reg.SetDwordValue(cu, kPath, "Wallpaper", 3);
  Reg.SetRawValue(cu, kPath, "Short", kRegDword, {1, 0});
  Reg.SetRawValue(cu, kPath, "Bin4", kRegBinary, {0, 0, 0, 0});
  Reg.SetRawValue(cu, kPath, "Bin9", kRegBinary, std::vector<std::uint8_t>(9));
  Reg.SetRawValue(cu, kPath, "Bin5", kRegBinary, std::vector<std::uint8_t>(5));

  auto read = [&](const std::string& name, const TVariant& dflt) {
    return ErrorOf([&] { ReadRegistryValue(cu, kKey, name, dflt); });
  };
  EXPECT_EQ(read("TileWallpaper", TVariant(0)), "Invalid data type for 'TileWallpaper'");
  EXPECT_EQ(read("TileWallpaper", TVariant(false)), "Invalid data type for 'TileWallpaper'");
  EXPECT_EQ(read("WallpaperStyle", TVariant(0)), "Failed to get data for 'WallpaperStyle'");
  EXPECT_EQ(read("Wallpaper", TVariant("")), "Invalid data type for 'Wallpaper'");
  EXPECT_EQ(read("Wallpaper", TVariant(0.0)), "Invalid data type for 'Wallpaper'");
  EXPECT_EQ(read("Short", TVariant(0)), "Invalid data type for 'Short'");
  EXPECT_EQ(read("Bin4", TVariant(0.0)), "Invalid data type for 'Bin4'");
  EXPECT_EQ(read("Bin4", TVariant::Currency(0)), "Invalid data type for 'Bin4'");
  EXPECT_EQ(read("Bin9", TVariant::Date(0)), "Failed to get data for 'Bin9'");
  EXPECT_EQ(read("Bin5", TVariant::Array(varByte, 0, 3)), "Failed to get data for 'Bin5'");
  EXPECT_EQ(read("Wallpaper", TVariant::Array(varByte, 0, 3)), "Invalid data type for 'Wallpaper'");
  EXPECT_EQ(read("TileWallpaper", TVariant::Array(varInteger, 0, 1)),
            "Invalid data type for 'TileWallpaper'");

  // A value that cannot be stored.
  Reg.SetFailSetValue(cu, kPath);
  EXPECT_EQ(ErrorOf([&] { WriteRegistryValue(cu, kKey, "WallpaperOrg", TVariant("x")); }),
            "Failed to set data for 'WallpaperOrg'");
  EXPECT_FALSE(Reg.GetRawValue(cu, kPath, "WallpaperOrg"));

  // A key that cannot be created, for writing and for deleting a value.
  Reg.SetReadOnly(cu, "Software");
  EXPECT_EQ(ErrorOf([&] { WriteRegistryValue(cu, "\\Software\\New\\Key", "V", TVariant(1)); }),
            "Failed to create key Software\\New\\Key");
  EXPECT_EQ(ErrorOf([&] { DeleteRegistryValue(cu, "\\Software\\New", "V"); }),
            "Failed to create key Software\\New");
  EXPECT_FALSE(Reg.KeyExists(cu, "Software\\New"));
}

TEST_F(RegSpecialTest, StringsAreReturnedAsStoredUpToTheFirstZero) {
  const RegKey cu = kHKeyCurrentUser;
  Reg.SetStringValue(cu, kPath, "Expand", "%SystemRoot%\\Web", kRegExpandSz);
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Expand", TVariant("")).AsString(), "%SystemRoot%\\Web");
  Reg.SetRawValue(cu, kPath, "Embedded", kRegSz, {'a', 0, 'b', 0, 0, 0, 'c', 0, 0, 0});
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Embedded", TVariant("")).AsString(), "ab");
  Reg.SetRawValue(cu, kPath, "NoTerminator", kRegSz, {'a', 0, 'b', 0});
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "NoTerminator", TVariant("")).AsString(), "ab");
  Reg.SetRawValue(cu, kPath, "Empty", kRegSz, {});
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Empty", TVariant("x")), TVariant(""));
  Reg.SetStringValue(cu, kPath, "Terminated", "");
  EXPECT_EQ(ReadRegistryValue(cu, kKey, "Terminated", TVariant("x")), TVariant(""));
}

TEST_F(RegSpecialTest, KindsThatAreNotStoredWriteNothingAndReportFailure) {
  const RegKey cu = kHKeyCurrentUser;
  EXPECT_FALSE(WriteRegistryValue(cu, kKey, "Empty", TVariant()));
  EXPECT_FALSE(WriteRegistryValue(cu, kKey, "Null", TVariant::Null()));
  EXPECT_FALSE(WriteRegistryValue(cu, kKey, "Wide", TVariant::WideString(u"w")));
  EXPECT_FALSE(WriteRegistryValue(cu, kKey, "NoElements", TVariant::Array(varInteger, 0, -1)));
  EXPECT_FALSE(WriteRegistryValue(cu, kKey, "Strings", TVariant::Array(varString, 0, 3)));
  EXPECT_TRUE(Reg.ValueNames(cu, kPath).empty());
}

TEST_F(RegSpecialTest, DeletingValues) {
  const RegKey cu = kHKeyCurrentUser;
  // From a missing key: the key is left behind, empty.
  DeleteRegistryValue(cu, kKey, "ShowHint");
  EXPECT_TRUE(Reg.KeyExists(cu, kPath));
  EXPECT_TRUE(Reg.ValueNames(cu, kPath).empty());
  EXPECT_TRUE(Reg.SubKeyNames(cu, kPath).empty());

  Reg.SetDwordValue(cu, kPath, "ShowHint", 1);
  Reg.SetDwordValue(cu, kPath, "ShowPreviewGrid", 1);
  DeleteRegistryValue(cu, kKey, "showhint");
  DeleteRegistryValue(cu, kKey, "ShowHint");  // already gone: no error
  EXPECT_EQ(Reg.ValueNames(cu, kPath), std::vector<std::string>{"ShowPreviewGrid"});
}

// Records the order in which keys are deleted.
class TDeleteLog : public TMemoryRegistry {
 public:
  long DeleteKey(RegKey parent, const std::string& subKey) override {
    Deleted.push_back(subKey);
    return TMemoryRegistry::DeleteKey(parent, subKey);
  }
  std::vector<std::string> Deleted;
};

TEST_F(RegSpecialTest, DeletingAKeyTreeDepthFirstFromTheLastSubkey) {
  TDeleteLog log;
  TPlatform platform = Platform();
  platform.Registry = &log;
  TPlatform previous = SetPlatform(platform);
  log.CreateKeyPath(kHKeyCurrentUser, kPath + "\\A\\A1");
  log.CreateKeyPath(kHKeyCurrentUser, kPath + "\\A\\A2");
  log.CreateKeyPath(kHKeyCurrentUser, kPath + "\\B");
  log.SetDwordValue(kHKeyCurrentUser, kPath + "\\A\\A2", "V", 1);
  log.CreateKeyPath(kHKeyCurrentUser, "Software\\Microsoft");
  DeleteRegistryKey(kHKeyCurrentUser, kKey, false);
  SetPlatform(previous);

  EXPECT_EQ(log.Deleted, (std::vector<std::string>{"B", "A2", "A1", "A", kPath}));
  EXPECT_FALSE(log.KeyExists(kHKeyCurrentUser, kPath));
  EXPECT_TRUE(log.KeyExists(kHKeyCurrentUser, "Software\\Mobrelin")) << "parents kept";
  EXPECT_EQ(log.OpenHandleCount(), 0u);
}

TEST_F(RegSpecialTest, DeletingAKeyRemovesParentsLeftEmptyUpToAKeyInUse) {
  const RegKey cu = kHKeyCurrentUser;
  Reg.CreateKeyPath(cu, "Software\\Microsoft");

  // Nothing else in "Mobrelin": it goes, "Software" holds other keys and stays.
  Reg.SetDwordValue(cu, kPath + "\\Sub", "V", 1);
  DeleteRegistryKey(cu, kKey, true);
  EXPECT_FALSE(Reg.KeyExists(cu, "Software\\Mobrelin"));
  EXPECT_EQ(Reg.SubKeyNames(cu, "Software"), std::vector<std::string>{"Microsoft"});

  // Another key in "Mobrelin" keeps it.
  Reg.CreateKeyPath(cu, kPath);
  Reg.CreateKeyPath(cu, "Software\\Mobrelin\\Other");
  DeleteRegistryKey(cu, kKey + "\\", true);
  EXPECT_FALSE(Reg.KeyExists(cu, kPath));
  EXPECT_EQ(Reg.SubKeyNames(cu, "Software\\Mobrelin"), std::vector<std::string>{"Other"});

  // So does a value in it.
  Reg.CreateKeyPath(cu, kPath);
  Reg.CreateKeyPath(cu, "Software\\Mobrelin\\Other");
  Reg.SetDwordValue(cu, "Software\\Mobrelin", "Kept", 1);
  DeleteRegistryKey(cu, "Software\\Mobrelin\\Other", true);
  DeleteRegistryKey(cu, kKey, true);
  EXPECT_TRUE(Reg.KeyExists(cu, "Software\\Mobrelin"));
  EXPECT_TRUE(Reg.SubKeyNames(cu, "Software\\Mobrelin").empty());

  // A missing key, and the root itself, are left alone.
  DeleteRegistryKey(cu, kKey, true);
  DeleteRegistryKey(cu, "", true);
  DeleteRegistryKey(cu, "\\", true);
  EXPECT_TRUE(Reg.KeyExists(cu, "Software\\Mobrelin"));
  EXPECT_TRUE(Reg.KeyExists(cu, "Software\\Microsoft"));
}

// Fails every query of a key's numbers while Fail is set.
class TFailingInfo : public TMemoryRegistry {
 public:
  long QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& values) override {
    return Fail ? kErrorAccessDenied : TMemoryRegistry::QueryInfoKey(key, subKeys, values);
  }
  bool Fail = false;
};

TEST_F(RegSpecialTest, KeyIsEmptyOnlyWhenMissingOrSeenToHoldNothing) {
  const RegKey cu = kHKeyCurrentUser;
  EXPECT_TRUE(RegistryKeyIsEmpty(cu, kKey));
  Reg.CreateKeyPath(cu, kPath);
  EXPECT_TRUE(RegistryKeyIsEmpty(cu, kKey));
  Reg.SetDwordValue(cu, kPath, "V", 0);
  EXPECT_FALSE(RegistryKeyIsEmpty(cu, kKey));
  EXPECT_FALSE(RegistryKeyIsEmpty(cu, "\\Software\\Mobrelin"));
  // A key whose contents cannot be read is not taken for empty.
  const std::string locked = kPath + "\\Locked";
  Reg.CreateKeyPath(cu, locked);
  Reg.SetReadOnly(cu, locked);
  EXPECT_FALSE(RegistryKeyIsEmpty(cu, locked));
  Reg.SetReadOnly(cu, locked, false);
  Reg.SetUnreadable(cu, locked);
  EXPECT_FALSE(RegistryKeyIsEmpty(cu, locked));

  // Nor one whose numbers the registry will not give: deleting a key with
  // empty parents keeps a parent that holds a value, even then.
  TFailingInfo failing;
  TPlatform platform = Platform();
  platform.Registry = &failing;
  TPlatform previous = SetPlatform(platform);
  failing.CreateKeyPath(cu, kPath);
  failing.SetDwordValue(cu, "Software\\Mobrelin", "Kept", 1);
  failing.Fail = true;
  EXPECT_FALSE(RegistryKeyIsEmpty(cu, "\\Software\\Mobrelin"));
  DeleteRegistryKey(cu, kKey, true);
  SetPlatform(previous);
  EXPECT_FALSE(failing.KeyExists(cu, kPath));
  EXPECT_EQ(failing.GetDwordValue(cu, "Software\\Mobrelin", "Kept"), 1u);
  EXPECT_EQ(failing.OpenHandleCount(), 0u);
}

TEST_F(RegSpecialTest, AReadOnlyDefaultUserKeyReadsAsMissingAndIsNeverChanged) {
  const RegKey users = kHKeyUsers;
  const std::string desktop = ".DEFAULT\\Control Panel\\Desktop";
  Reg.SetStringValue(users, desktop, "Wallpaper", "C:\\old.bmp");
  Reg.SetStringValue(users, desktop, "TileWallpaper", "1");
  Reg.SetReadOnly(users, desktop);

  EXPECT_EQ(ReadRegistryValue(users, desktop, "Wallpaper", TVariant("")), TVariant(""));
  EXPECT_EQ(ErrorOf([&] { EXPECT_FALSE(WriteRegistryValue(users, desktop, "Wallpaper",
                                                          TVariant("C:\\new.bmp"))); }),
            "");
  EXPECT_EQ(ErrorOf([&] { WriteRegistryValue(users, desktop, "WallpaperStyle", TVariant("2")); }),
            "");
  EXPECT_EQ(ErrorOf([&] { DeleteRegistryValue(users, desktop, "TileWallpaper"); }), "");
  EXPECT_EQ(ErrorOf([&] { DeleteRegistryKey(users, desktop, true); }), "");

  EXPECT_EQ(Reg.GetStringValue(users, desktop, "Wallpaper"), "C:\\old.bmp");
  EXPECT_EQ(Reg.GetStringValue(users, desktop, "TileWallpaper"), "1");
  EXPECT_EQ(Reg.ValueNames(users, desktop).size(), 2u);
  EXPECT_TRUE(Reg.KeyExists(users, desktop));

  // A key that cannot even be read gives the default as well.
  Reg.SetUnreadable(users, ".DEFAULT\\Control Panel\\Colors");
  Reg.SetStringValue(users, ".DEFAULT\\Control Panel\\Colors", "Background", "1 2 3");
  EXPECT_EQ(ReadRegistryValue(users, ".DEFAULT\\Control Panel\\Colors", "Background",
                              TVariant("0 0 0")),
            TVariant("0 0 0"));
}

TEST(VarArrayByteSize, ElementSizeTimesLengthOfTheFirstDimension) {
  EXPECT_EQ(VarArrayByteSize(TVariant::Array(varByte, 0, 9)), 10);
  EXPECT_EQ(VarArrayByteSize(TVariant::Array(varSmallint, 1, 3)), 6);
  EXPECT_EQ(VarArrayByteSize(TVariant::Array(varBoolean, 1, 3)), 6);
  EXPECT_EQ(VarArrayByteSize(TVariant::Array(varInteger, -1, 1)), 12);
  EXPECT_EQ(VarArrayByteSize(TVariant::Array(varSingle, 0, 0)), 4);
  EXPECT_EQ(VarArrayByteSize(TVariant::Array(varDouble, 0, 1)), 16);
  EXPECT_EQ(VarArrayByteSize(TVariant::Array(varCurrency, 0, 1)), 16);
  EXPECT_EQ(VarArrayByteSize(TVariant::Array(varDate, 0, 1)), 16);
  EXPECT_EQ(VarArrayByteSize(TVariant::Array(varString, 0, 9)), 0);
  EXPECT_EQ(VarArrayByteSize(TVariant::Array(varByte, 5, 4)), 0);
  EXPECT_EQ(VarArrayByteSize(TVariant(std::uint8_t{1})), 0);
  EXPECT_EQ(VarArrayByteSize(TVariant("abc")), 0);
}

TEST(Variant, ConversionsOfTheKindsReadBack) {
  EXPECT_EQ(TVariant("-12").AsInteger(), -12);
  EXPECT_EQ(TVariant(2.5).AsInteger(), 2);  // halves to even
  EXPECT_EQ(TVariant(3.5).AsInteger(), 4);
  EXPECT_EQ(TVariant(std::uint8_t{200}).AsInteger(), 200);
  EXPECT_EQ(TVariant(true).AsString(), "True");
  EXPECT_EQ(TVariant().AsString(), "");
  EXPECT_EQ(TVariant::WideString(u"\u00e4").AsString(), "\xC3\xA4");
  EXPECT_EQ(TVariant::Currency(15000).AsString(), "1.5");
  EXPECT_EQ(TVariant::Currency(15000).AsDouble(), 1.5);
  EXPECT_EQ(TVariant(0.25).AsCurrency(), 2500);
  EXPECT_TRUE(TVariant("TRUE").AsBoolean());
  EXPECT_FALSE(TVariant("0").AsBoolean());
  EXPECT_EQ(TVariant::Array(varInteger, 0, 1, {1}).Bytes(),
            (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_NE(TVariant(1), TVariant(true));  // the kind is part of the value
  for (const TVariant& bad : {TVariant("abc"), TVariant("1e3"), TVariant("4294967296"),
                              TVariant(1e12), TVariant::Null(), TVariant::Array(varByte, 0, 0)}) {
    EXPECT_EQ(ErrorOf([&] { bad.AsInteger(); }), "Invalid variant type conversion");
  }
  EXPECT_EQ(ErrorOf([&] { TVariant::Null().AsString(); }), "Invalid variant type conversion");
}

TEST(CheckEnvironment, AnyOtherSystemIsToldAndEnded) {
  TPortableEnvironment env;
  CheckEnvironment();
  EXPECT_TRUE(env.MessageBoxes().Messages.empty());
  EXPECT_EQ(env.System().EndProgramCalls, 0);

  env.System().Windows95OrNT = false;
  CheckEnvironment();
  ASSERT_EQ(env.MessageBoxes().Messages.size(), 1u);
  EXPECT_EQ(env.MessageBoxes().Messages[0].Text, "This program requires Windows 95/NT");
  EXPECT_TRUE(env.MessageBoxes().Messages[0].Simple);
  EXPECT_EQ(env.System().EndProgramCalls, 1);
}

}  // namespace
}  // namespace bx
