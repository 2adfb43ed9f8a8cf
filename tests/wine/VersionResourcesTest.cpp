// The version reader over the real module loader: Bexora.cpl mapped as
// data, a module whose resource claims more than it holds, and files that
// hold no version resource.
#include <gtest/gtest.h>

#include "components/VersionReader.h"
#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/WinVersionResources.h"
#include "tests/unit/VersionWriters.h"

#include <fstream>
#include <string>
#include <vector>

namespace bx::wine {
namespace {

std::string FullPath(const wchar_t* name) {
  wchar_t full[MAX_PATH * 2] = {};
  GetFullPathNameW(name, MAX_PATH * 2, full, nullptr);
  return Narrow(full);
}

TEST(WinVersionResources, ReadsModulesAsDataAndNothingElse) {
  const std::string module = FullPath(L"Bexora.cpl");
  const bool loadedBefore = GetModuleHandleW(Widen(module).c_str()) != nullptr;
  const std::vector<std::string> lines = GetVersionStrings(module);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "CompanyName=Mobrelin");
  EXPECT_EQ(lines[1], "FileDescription=Change windows wallpaper settings");
  EXPECT_EQ(lines[2], "FileVersion=1.2.3.21");
  EXPECT_EQ(lines[6], "ProductName=Bexora");
  // Mapped as data, the module was never started: a second read is the same.
  EXPECT_EQ(GetVersionStrings(module), lines);
  EXPECT_EQ(GetModuleHandleW(Widen(module).c_str()) != nullptr, loadedBefore)
      << "the module stayed loaded";

  wchar_t self[MAX_PATH * 2] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH * 2);  // this program has no version resource
  std::vector<std::uint8_t> data;
  EXPECT_FALSE(WinVersionResources().ReadVersionResource(Narrow(self), data));
  // A resource whose entry claims more bytes than the module holds is none:
  // nothing past the module is read.
  const std::string beyond = FullPath(L"version-beyond.dll");
  const test::TBytes block = test::WriteVersionBlock({{{u"040904E4", {{u"CompanyName", u"A"}}}}});
  for (const std::uint32_t claimed : {0u, 16u << 20}) {
    const test::TBytes bytes = test::WritePeModule({{16, 1, 0x0406, block, claimed}});
    std::ofstream(beyond, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    EXPECT_EQ(WinVersionResources().ReadVersionResource(beyond, data), claimed == 0) << claimed;
    const std::vector<std::string> expected =
        claimed == 0 ? std::vector<std::string>{"CompanyName=A"} : std::vector<std::string>{};
    EXPECT_EQ(GetVersionStrings(beyond), expected);
  }
  DeleteFileW(Widen(beyond).c_str());
  const std::string text = FullPath(L"version-test.txt");
  std::ofstream(text) << "MZ but no module";
  EXPECT_EQ(GetVersionStrings(text), std::vector<std::string>{});
  DeleteFileW(Widen(text).c_str());
  EXPECT_EQ(GetVersionStrings(FullPath(L"missing.cpl")), std::vector<std::string>{});
  EXPECT_EQ(GetVersionStrings(""), std::vector<std::string>{});
}

}  // namespace
}  // namespace bx::wine
