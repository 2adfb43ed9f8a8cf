// Writers of version resources and of small PE module files that carry
// resources, byte by byte in the published layouts. Shared by the unit
// tests and the fuzz targets' seed maker.
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/unit/ImageWriters.h"

namespace bx::test {

inline void PadTo4(TBytes& b) {
  while (b.size() % 4) b.push_back(0);
}

inline void PutText16(TBytes& b, const std::u16string& text) {
  for (char16_t c : text) Put16(b, c);
  Put16(b, 0);
}

// One block: header, key, padding, value, then each child at a 4-byte
// boundary; wLength covers all of it.
inline TBytes VersionNode(const std::u16string& key, const TBytes& value, std::uint16_t valueLength,
                          std::uint16_t type, const std::vector<TBytes>& children = {}) {
  TBytes b(6, 0);
  PutText16(b, key);
  PadTo4(b);
  b.insert(b.end(), value.begin(), value.end());
  for (const TBytes& child : children) {
    PadTo4(b);
    b.insert(b.end(), child.begin(), child.end());
  }
  Set16(b, 0, static_cast<std::uint32_t>(b.size()));
  Set16(b, 2, valueLength);
  Set16(b, 4, type);
  return b;
}

// A String entry; no value at all (wValueLength 0) when value is absent.
inline TBytes VersionString(const std::u16string& key, const std::optional<std::u16string>& value) {
  TBytes text;
  if (value) PutText16(text, *value);
  return VersionNode(key, text, static_cast<std::uint16_t>(value ? value->size() + 1 : 0), 1);
}

struct TVersionTable {
  std::u16string Language = u"040904E4";
  std::vector<std::pair<std::u16string, std::optional<std::u16string>>> Entries;
};

struct TVersionSpec {
  std::vector<TVersionTable> Tables;
  bool FixedInfo = true;          // the 52-byte VS_FIXEDFILEINFO
  bool VarFileInfoFirst = false;  // VarFileInfo before StringFileInfo
};

inline TBytes WriteVersionBlock(const TVersionSpec& layout) {
  TBytes fixed;
  if (layout.FixedInfo) {
    for (std::uint32_t v : {0xFEEF04BDu, 0x10000u, 0x10002u, 0x30015u, 0x10002u, 0x30015u, 0x3Fu,
                            0u, 4u, 1u, 0u, 0u, 0u})
      Put32(fixed, v);
  }
  std::vector<TBytes> tables;
  for (const TVersionTable& table : layout.Tables) {
    std::vector<TBytes> strings;
    for (const auto& [key, value] : table.Entries) strings.push_back(VersionString(key, value));
    tables.push_back(VersionNode(table.Language, {}, 0, 1, strings));
  }
  TBytes translation;
  Put16(translation, 0x0409);
  Put16(translation, 1252);
  const TBytes var = VersionNode(u"VarFileInfo", {}, 0, 1, {VersionNode(u"Translation", translation, 4, 0)});
  const TBytes strings = VersionNode(u"StringFileInfo", {}, 0, 1, tables);
  return VersionNode(u"VS_VERSION_INFO", fixed, static_cast<std::uint16_t>(fixed.size()), 0,
                     layout.VarFileInfoFirst ? std::vector<TBytes>{var, strings}
                                           : std::vector<TBytes>{strings, var});
}

// A block of `size` bytes (a multiple of 4) whose first string table
// claims all of it and holds 4-byte entries only: no entry has room for its
// key's terminator, and no zero follows before the block's end, so a key
// read past its entry runs on to the end of the block.
inline TBytes UnterminatedKeysVersionBlock(std::size_t size) {
  TBytes b = WriteVersionBlock({{{u"040904E4", {}}}});
  b.resize(152);
  while (b.size() < size) {
    Put16(b, 4);       // wLength: the header's first two fields only
    Put16(b, 0x4E2D);  // wValueLength, and the key's units that follow
  }
  const std::uint32_t claimed = static_cast<std::uint32_t>(std::min<std::size_t>(size, 0xFFFC));
  Set16(b, 0, claimed);         // VS_VERSION_INFO
  Set16(b, 92, claimed - 92);   // StringFileInfo
  Set16(b, 128, claimed - 128);  // the first string table
  return b;
}

// A sound block of `count` entries "K<i>" = "v<i>" in one table; 2000
// entries make about 60 KiB, near the most a 16-bit length can hold.
inline TBytes ManyEntryVersionBlock(int count) {
  TVersionTable table;
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    const std::u16string digits(n.begin(), n.end());
    table.Entries.push_back({u"K" + digits, u"v" + digits});
  }
  return WriteVersionBlock({{table}});
}

struct TPeResource {
  std::uint16_t Type = 16;  // RT_VERSION
  std::uint16_t Name = 1;
  std::uint16_t Language = 0x0406;
  TBytes Data;
  std::uint32_t ClaimedSize = 0;  // the size its entry gives; 0: that of Data
};

// A module of one section, ".rsrc", holding the resources; 64-bit
// (PE32+) or 32-bit (PE32) headers. No code: it is only ever read.
inline TBytes WritePeModule(const std::vector<TPeResource>& resources, bool pe64 = true) {
  constexpr std::uint32_t kSectionRva = 0x1000, kRawAt = 0x200;
  // The resource tree: type -> name -> language -> data entry.
  std::map<std::uint16_t, std::map<std::uint16_t, std::vector<const TPeResource*>>> tree;
  for (const TPeResource& r : resources) tree[r.Type][r.Name].push_back(&r);
  TBytes rsrc;
  auto directory = [&rsrc](std::size_t entries) {
    const std::size_t at = rsrc.size();
    rsrc.resize(at + 16 + 8 * entries, 0);
    Set16(rsrc, at + 14, static_cast<std::uint32_t>(entries));
    return at + 16;
  };
  auto entry = [&rsrc](std::size_t at, std::uint32_t id, std::uint32_t offset) {
    Set32(rsrc, at, id);
    Set32(rsrc, at + 4, offset);
  };
  std::vector<std::pair<std::size_t, const TPeResource*>> dataEntries;
  std::size_t typeAt = directory(tree.size());
  for (const auto& [type, names] : tree) {
    entry(typeAt, type, 0x80000000u | static_cast<std::uint32_t>(rsrc.size()));
    typeAt += 8;
    std::size_t nameAt = directory(names.size());
    for (const auto& [name, languages] : names) {
      entry(nameAt, name, 0x80000000u | static_cast<std::uint32_t>(rsrc.size()));
      nameAt += 8;
      std::size_t languageAt = directory(languages.size());
      for (const TPeResource* r : languages) {
        entry(languageAt, r->Language, static_cast<std::uint32_t>(rsrc.size()));
        languageAt += 8;
        dataEntries.push_back({rsrc.size(), r});
        rsrc.resize(rsrc.size() + 16, 0);
      }
    }
  }
  for (const auto& [at, r] : dataEntries) {
    PadTo4(rsrc);
    Set32(rsrc, at, kSectionRva + static_cast<std::uint32_t>(rsrc.size()));
    const auto size = static_cast<std::uint32_t>(r->Data.size());
    Set32(rsrc, at + 4, r->ClaimedSize ? r->ClaimedSize : size);
    rsrc.insert(rsrc.end(), r->Data.begin(), r->Data.end());
  }
  const std::uint32_t rsrcSize = static_cast<std::uint32_t>(rsrc.size());
  while (rsrc.size() % 0x200) rsrc.push_back(0);

  const std::uint32_t optionalSize = pe64 ? 240 : 224;
  TBytes b(0x40, 0);
  b[0] = 'M';
  b[1] = 'Z';
  Set32(b, 0x3C, 0x40);
  Put32(b, 0x00004550);                  // "PE\0\0"
  Put16(b, pe64 ? 0x8664 : 0x014C);      // machine
  Put16(b, 1);                           // sections
  b.resize(b.size() + 12, 0);            // time, symbols
  Put16(b, optionalSize);
  Put16(b, 0x2102);                      // executable DLL
  const std::size_t optional = b.size();
  b.resize(optional + optionalSize, 0);
  Set16(b, optional, pe64 ? 0x20B : 0x10B);
  Set32(b, optional + 32, 0x1000);       // section alignment
  Set32(b, optional + 36, 0x200);        // file alignment
  Set16(b, optional + 40, 4);            // operating system version 4.0
  Set16(b, optional + 48, 4);            // subsystem version 4.0
  Set32(b, optional + 56, kSectionRva + ((rsrcSize + 0xFFF) & ~0xFFFu));  // image size
  Set32(b, optional + 60, kRawAt);       // headers size
  Set16(b, optional + 68, 2);            // GUI subsystem
  const std::size_t directories = optional + (pe64 ? 112 : 96);
  Set32(b, directories - 4, 16);
  Set32(b, directories + 16, kSectionRva);
  Set32(b, directories + 20, rsrcSize);
  const std::size_t section = b.size();
  b.resize(section + 40, 0);
  std::copy_n(".rsrc", 5, b.begin() + static_cast<std::ptrdiff_t>(section));
  Set32(b, section + 8, rsrcSize);
  Set32(b, section + 12, kSectionRva);
  Set32(b, section + 16, static_cast<std::uint32_t>(rsrc.size()));
  Set32(b, section + 20, kRawAt);
  Set32(b, section + 36, 0x40000040);    // initialised data, readable
  b.resize(kRawAt, 0);
  b.insert(b.end(), rsrc.begin(), rsrc.end());
  return b;
}

}  // namespace bx::test
