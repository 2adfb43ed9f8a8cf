#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "binding/portable/PortableEnvironment.h"
#include "components/VersionReader.h"
#include "platform/Errors.h"
#include "platform/portable/PeResources.h"
#include "tests/unit/VersionWriters.h"

namespace bx {
namespace {

using namespace bx::test;
using TLines = std::vector<std::string>;

TLines Parse(const TBytes& block) {
  TLines lines{"left over"};
  ParseStringFileInfo(block, lines);
  return lines;
}

std::string ErrorOf(const TBytes& block) {
  try {
    Parse(block);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

TVersionTable Table(std::vector<std::pair<std::u16string, std::optional<std::u16string>>> entries,
                    std::u16string language = u"040904E4") {
  return {std::move(language), std::move(entries)};
}

TEST(VersionReader, WalksTheFirstStringTableInStoredOrder) {
  EXPECT_EQ(AlignDWord(0), 0);
  EXPECT_EQ(AlignDWord(1), 4);
  EXPECT_EQ(AlignDWord(30), 32);
  EXPECT_EQ(AlignDWord(32), 32);

  const TBytes block = WriteVersionBlock({{Table({{u"CompanyName", u"A"}, {u"FileVersion", u"1.0"}})}});
  // CompanyName's key and terminator end at 152 + 30; its value starts at
  // the next 4-byte boundary, not right after the key.
  ASSERT_EQ(block[152 + 32], 'A');
  EXPECT_EQ(Parse(block), (TLines{"CompanyName=A", "FileVersion=1.0"}));

  // No value field at all: an empty value, not the next entry's text.
  // Further tables (other languages) are not listed.
  const TBytes absent = WriteVersionBlock(
      {{Table({{u"Comments", std::nullopt}, {u"ProductName", u"P\u00e6"}, {u"A=B", u"c=d"}}),
        Table({{u"CompanyName", u"Andet"}}, u"040604E4")}});
  EXPECT_EQ(Parse(absent), (TLines{"Comments=", "ProductName=P\xc3\xa6", "A_B=c=d"}));

  TVersionSpec noFixed{{Table({{u"CompanyName", u"A"}})}};
  noFixed.FixedInfo = false;
  EXPECT_EQ(ErrorOf(WriteVersionBlock(noFixed)), "Unrecognised version block");
  TVersionSpec varFirst{{Table({{u"CompanyName", u"A"}})}};
  varFirst.VarFileInfoFirst = true;
  EXPECT_EQ(ErrorOf(WriteVersionBlock(varFirst)), "Unrecognised version block");
  EXPECT_EQ(ErrorOf(TBytes(100, 0)), "Unrecognised version block");
}

TEST(VersionReader, HostileBlocksAreCutAtTheirEndAndNeverLoop) {
  const TBytes block =
      WriteVersionBlock({{Table({{u"CompanyName", u"Mobrelin"}, {u"FileVersion", u"1.2.3.21"}})}});
  // Every prefix: the key check fails before 128 bytes; after that the walk
  // lists what the bytes hold (ASan sees any read past each exact copy).
  for (std::size_t size = 0; size <= block.size(); ++size) {
    const TBytes prefix(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size));
    if (size < 128) {
      EXPECT_EQ(ErrorOf(prefix), "Unrecognised version block") << size;
      continue;
    }
    const TLines lines = Parse(prefix);
    ASSERT_LE(lines.size(), 2u) << size;
    if (lines.empty()) continue;
    const std::string& line = lines[0];
    const std::size_t equals = line.find('=');
    ASSERT_NE(equals, std::string::npos);
    EXPECT_EQ(std::string("CompanyName").rfind(line.substr(0, equals), 0), 0u) << line;
    EXPECT_EQ(std::string("Mobrelin").rfind(line.substr(equals + 1), 0), 0u) << line;
  }

  // A zero length ends the walk; the table's own length bounds it.
  TBytes zero = block;
  Set16(zero, 152, 0);
  EXPECT_EQ(Parse(zero), TLines{});
  TBytes shortTable = block;
  Set16(shortTable, 128, 152 + 4 - 128);
  EXPECT_EQ(Parse(shortTable), TLines{"CompanyName=Mobrelin"});

  // Lengths beyond the block, and a key without terminator up to the end.
  TBytes beyond = block;
  Set16(beyond, 128, 0xFFFF);
  Set16(beyond, 152, 0xFFF0);
  EXPECT_EQ(Parse(beyond), TLines{"CompanyName=Mobrelin"});
  TBytes unterminated(block.begin(), block.begin() + 152 + 6);
  for (char16_t c : std::u16string(u"Key")) Put16(unterminated, c);
  Set16(unterminated, 128, 0xFFFF);
  Set16(unterminated, 152, 0x40);
  EXPECT_EQ(Parse(unterminated), TLines{"Key="});
  unterminated.push_back('x');  // an odd last byte is no code unit
  EXPECT_EQ(Parse(unterminated), TLines{"Key="});

  // A key whose entry ends before its terminator ends with the entry: the
  // next entry is read as itself, not as the rest of the key.
  TBytes cutKey = WriteVersionBlock({{Table({{u"Abcd", std::nullopt}, {u"B", u"v"}})}});
  Set16(cutKey, 152, 6 + 8);  // the header and "Abcd"; the next entry stays at 168
  Set16(cutKey, 166, 'X');    // the terminator's place
  EXPECT_EQ(Parse(cutKey), (TLines{"Abcd=", "B=v"}));
  // 64 KiB of such entries, none with room for a key: empty lines only, not
  // every key running on to the end of the block.
  const TLines empty = Parse(UnterminatedKeysVersionBlock(64 * 1024));
  EXPECT_GT(empty.size(), 16000u);
  EXPECT_EQ(empty, TLines(empty.size(), "="));
}

class VersionFiles : public ::testing::Test {
 protected:
  TPortableEnvironment Env;
  void Write(const std::string& name, const TBytes& bytes) { Env.Files().WriteFile(name, bytes); }
};

TEST_F(VersionFiles, GetVersionStringsReadsModulesAndIgnoresEverythingElse) {
  const TBytes block = WriteVersionBlock({{Table({{u"CompanyName", u"A"}, {u"FileVersion", u"1.0"}})}});
  TPeResource icon{3, 1, 0x0406, TBytes(40, 7)};
  TPeResource version{16, 1, 0x0406, block};
  TPeResource other{16, 2, 0x0406, WriteVersionBlock({{Table({{u"Other", u"x"}})}})};
  Write("C:\\m64.cpl", WritePeModule({icon, other, version}, true));
  Write("C:\\m32.cpl", WritePeModule({version}, false));
  Write("C:\\no-version.dll", WritePeModule({icon, other}));
  TBytes rootKey = block;
  rootKey[6] = 'v';
  Write("C:\\other-root.dll", WritePeModule({{16, 1, 0x0406, rootKey}}));
  TVersionSpec noFixed{{Table({{u"CompanyName", u"A"}})}};
  noFixed.FixedInfo = false;
  Write("C:\\unrecognised.dll", WritePeModule({{16, 1, 0x0406, WriteVersionBlock(noFixed)}}));
  Write("C:\\beyond.dll", WritePeModule({{16, 1, 0x0406, block, 16 << 20}}));
  Write("C:\\text.txt", {'M', 'Z', 'h', 'i'});
  Env.Files().CreateDirectory("C:\\folder.dll");

  const TLines expected{"CompanyName=A", "FileVersion=1.0"};
  EXPECT_EQ(GetVersionStrings("C:\\m64.cpl"), expected);
  EXPECT_EQ(GetVersionStrings("C:\\m32.cpl"), expected);
  for (const char* name : {"", "C:\\missing.cpl", "C:\\no-version.dll", "C:\\other-root.dll",
                           "C:\\beyond.dll", "C:\\text.txt", "C:\\folder.dll"})
    EXPECT_EQ(GetVersionStrings(name), TLines{}) << name;
  EXPECT_THROW(GetVersionStrings("C:\\unrecognised.dll"), Exception);

  // Damaged modules: every prefix and every single damaged byte of the
  // headers and the resource tree is read safely.
  const TBytes module = WritePeModule({icon, version});
  std::span<const std::uint8_t> found;
  ASSERT_TRUE(FindPeResource(module, 16, 1, found));
  EXPECT_TRUE(std::equal(found.begin(), found.end(), block.begin(), block.end()));
  for (std::size_t size = 0; size < module.size(); size += 7) {
    const TBytes prefix(module.begin(), module.begin() + static_cast<std::ptrdiff_t>(size));
    std::span<const std::uint8_t> resource;
    if (FindPeResource(prefix, 16, 1, resource)) {
      EXPECT_GE(resource.data(), prefix.data());
      EXPECT_LE(resource.data() + resource.size(), prefix.data() + prefix.size());
    }
  }
  for (std::size_t at = 0; at < 0x200 + 0x80; ++at) {
    TBytes damaged = module;
    damaged[at] ^= 0xA5;
    std::span<const std::uint8_t> resource;
    if (FindPeResource(damaged, 16, 1, resource))
      EXPECT_LE(resource.data() + resource.size(), damaged.data() + damaged.size());
  }
}

// The modules the Windows builds make (the test script builds them all
// first): their own entries in their stored order.
TEST_F(VersionFiles, BuiltModulesListTheirOwnEntries) {
  const std::filesystem::path builds = std::filesystem::path(BX_BUILD_DIR).parent_path();
  for (const char* target : {"win64", "win32"}) {
    const std::filesystem::path module = builds / target / "Bexora.cpl";
    if (!std::filesystem::exists(module)) {
      ADD_FAILURE() << module.string() << " is missing: build the " << target << " preset";
      continue;
    }
    std::ifstream in(module, std::ios::binary);
    Write("C:\\Bexora.cpl", TBytes(std::istreambuf_iterator<char>(in), {}));
    const TLines lines = GetVersionStrings("C:\\Bexora.cpl");
    ASSERT_EQ(lines.size(), 10u) << target;
    EXPECT_EQ(lines[0], "CompanyName=Mobrelin");
    EXPECT_EQ(lines[1], "FileDescription=Change windows wallpaper settings");
    EXPECT_EQ(lines[2], "FileVersion=1.2.3.21");
    EXPECT_EQ(lines[3], "InternalName=Bexora");
    EXPECT_EQ(lines[4].rfind("LegalCopyright=", 0), 0u);
    EXPECT_EQ(lines[5], "OriginalFilename=Bexora.cpl");
    EXPECT_EQ(lines[6], "ProductName=Bexora");
    EXPECT_EQ(lines[7].rfind("Programmers=", 0), 0u);
    EXPECT_EQ(lines[8].rfind("SMTP=", 0), 0u);
    EXPECT_EQ(lines[9].rfind("HTTP=", 0), 0u);
  }
}

}  // namespace
}  // namespace bx
