// The file search of the image list over real folders of the portable platform.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

#include "binding/portable/PortableEnvironment.h"
#include "components/ListFiles.h"

namespace bx {
namespace {

using Names = std::vector<std::string>;

class ListFilesTest : public ::testing::Test {
 protected:
  static constexpr const char* kFolder = "C:\\Pics";

  void Make(const Names& names) {
    for (const std::string& name : names) Env.Files().WriteTextFile(std::string(kFolder) + "\\" + name, "x");
  }
  static Names Sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
  }

  TPortableEnvironment Env;
};

TEST_F(ListFilesTest, MasksInOrderEachWithItsOwnMatchesNothingSortedNothingMerged) {
  Make({"b.JPG", "a.gif", "C.bmp", "x.txt", "jpg", "photo.jpeg", "a.gif.bak"});
  const Names files = ListFiles(kFolder, "*.gif;*.jpg;*.bmp", kFaAnyFile, false);
  EXPECT_EQ(files, (Names{"a.gif", "b.JPG", "C.bmp"}));

  // A name two masks find is there twice, in each mask's place.
  EXPECT_EQ(ListFiles(kFolder, "*.bmp;c*;*.gif", kFaAnyFile, false),
            (Names{"C.bmp", "C.bmp", "a.gif"}));
  // Within one mask the order is the folder's own, whatever it is.
  const Names all = ListFiles(kFolder, "*", kFaAnyFile, false);
  EXPECT_EQ(Sorted(all), Sorted({"b.JPG", "a.gif", "C.bmp", "x.txt", "jpg", "photo.jpeg",
                                 "a.gif.bak"}));
  std::vector<TFileEntry> listed = Env.Files().ListFolder(kFolder);
  for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i], listed[i].Name);

  // With the folder before each name, with or without its "\".
  EXPECT_EQ(ListFiles("C:\\Pics\\", "*.bmp", kFaAnyFile, true), (Names{"C:\\Pics\\C.bmp"}));
  EXPECT_EQ(ListFiles(kFolder, "*.bmp", kFaAnyFile, true), (Names{"C:\\Pics\\C.bmp"}));
}

TEST_F(ListFilesTest, MasksSplitAtEverySemicolon) {
  Make({"a.gif", "b.bmp"});
  // An empty piece before a ";" is a mask that finds nothing; an empty rest
  // after the last ";" is no mask.
  EXPECT_EQ(ListFiles(kFolder, ";*.gif;;*.bmp;", kFaAnyFile, false), (Names{"a.gif", "b.bmp"}));
  // No masks mean every entry.
  EXPECT_EQ(Sorted(ListFiles(kFolder, "", kFaAnyFile, false)), (Names{"a.gif", "b.bmp"}));
  EXPECT_EQ(ListFiles(kFolder, ";", kFaAnyFile, false), Names{});
  EXPECT_EQ(ListFiles(kFolder, "?.gif;??.gif;*.*", kFaAnyFile, false).front(), "a.gif");
}

TEST_F(ListFilesTest, AttributesDecideOverHiddenFilesAndFolders) {
  Make({".hidden.gif", "plain.gif", "locked.gif"});
  Env.Files().CreateDirectory("C:\\Pics\\old.gif");
  ::chmod(Env.Files().HostPath("C:\\Pics\\locked.gif").c_str(), 0444);
  EXPECT_EQ(Sorted(ListFiles(kFolder, "*.gif", kFaAnyFile, false)),
            (Names{".hidden.gif", "locked.gif", "old.gif", "plain.gif"}));
  // Read-only files need no bit; hidden ones and folders do.
  EXPECT_EQ(Sorted(ListFiles(kFolder, "*.gif", kFaReadOnly | kFaArchive, false)),
            (Names{"locked.gif", "plain.gif"}));
  EXPECT_EQ(Sorted(ListFiles(kFolder, "*.gif", kFaDirectory, false)),
            (Names{"locked.gif", "old.gif", "plain.gif"}));
}

TEST_F(ListFilesTest, FoldersThatCannotBeListedGiveNothing) {
  EXPECT_TRUE(ListFiles("C:\\Missing", "*.gif", kFaAnyFile, false).empty());
  Make({"a.gif"});
  EXPECT_TRUE(ListFiles("C:\\Pics\\a.gif", "*", kFaAnyFile, false).empty());
  // Beyond 260 characters and beyond ASCII.
  std::string deep = kFolder;
  while (deep.size() < 300) deep += "\\Ordner mit Überlänge";
  Env.Files().WriteTextFile(deep + "\\Ölbild.gif", "x");
  EXPECT_EQ(ListFiles(deep, "*.GIF", kFaAnyFile, true), (Names{deep + "\\Ölbild.gif"}));
}

TEST(FileNames, WildcardsAndCaseFollowTheSystem) {
  EXPECT_TRUE(MatchesMask("Sunset.JPG", "*.jpg"));
  EXPECT_TRUE(MatchesMask("a.b.c.jpg", "*.jpg"));
  EXPECT_TRUE(MatchesMask("jpg", "*jpg"));
  EXPECT_FALSE(MatchesMask("a.jpeg", "*.jpg"));
  EXPECT_FALSE(MatchesMask("a.jpg.bak", "*.jpg"));
  EXPECT_TRUE(MatchesMask("ab", "a?"));
  EXPECT_FALSE(MatchesMask("a", "a?"));
  EXPECT_TRUE(MatchesMask("noext", "*.*"));
  EXPECT_TRUE(MatchesMask("aXbXc", "a*b*c"));
  EXPECT_FALSE(MatchesMask("aXbXd", "a*b*c"));
  EXPECT_FALSE(MatchesMask("a.gif", ""));
  // Letters beyond ASCII fold too; other characters compare as they are.
  EXPECT_TRUE(MatchesMask("ÉTÉ.GIF", "été.gif"));
  EXPECT_TRUE(MatchesMask("МОРЕ.jpg", "море.*"));
  EXPECT_TRUE(MatchesMask("ΘΆΛΑΣΣΑ.jpg", "θάλασσα.jpg"));
  EXPECT_FALSE(MatchesMask("日本.jpg", "日.jpg"));
  EXPECT_TRUE(MatchesMask("日本.jpg", "日?.jpg"));

  EXPECT_EQ(CompareFileNames("a", "B"), -1);
  EXPECT_EQ(CompareFileNames("b.JPG", "B.jpg"), 0);
  EXPECT_EQ(CompareFileNames("C", "b"), 1);
  EXPECT_EQ(CompareFileNames("ab", "a"), 1);
  EXPECT_LT(CompareFileNames("éa", "Éb"), 0);
  EXPECT_LT(CompareFileNames("z", "é"), 0);
  // Bytes that are no UTF-8 still order, after every letter.
  EXPECT_GT(CompareFileNames("\xff", "z"), 0);
  EXPECT_EQ(AsciiUpperCase("c:\\pictures\\sea.jpg é"), "C:\\PICTURES\\SEA.JPG é");
}

TEST_F(ListFilesTest, AFileFirstFoundForAMaskEndsTheSearchEarly) {
  // Each mask's first entry decides: a folder named like an image does not
  // count, a file of a later mask does.
  Env.Files().CreateDirectory("C:\\Dirs\\only.gif");
  EXPECT_FALSE(FirstMatchIsFile("C:\\Dirs", "*.gif;*.jpg"));
  Env.Files().WriteTextFile("C:\\Dirs\\b.JPG", "x");
  EXPECT_TRUE(FirstMatchIsFile("C:\\Dirs\\", "*.gif;*.jpg"));
  EXPECT_FALSE(FirstMatchIsFile("C:\\Missing", "*.gif;*.jpg"));
  EXPECT_FALSE(FirstMatchIsFile("C:\\Dirs", ""));

  // A large folder is not read through: the search for the first mask
  // ends at its first match, and the later masks are not searched.
  const int kEach = 500;
  for (int i = 0; i < kEach; ++i) {
    Env.Files().WriteTextFile(std::string(kFolder) + "\\note" + std::to_string(i) + ".txt", "x");
    Env.Files().WriteTextFile(std::string(kFolder) + "\\photo" + std::to_string(i) + ".gif", "x");
  }
  Env.Files().EntriesRead = 0;
  EXPECT_TRUE(FirstMatchIsFile(kFolder, "*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf"));
  // Half the entries match; in the host's order the first match comes
  // within a few entries (missing 200 in a row has odds of 2^-200).
  EXPECT_LT(Env.Files().EntriesRead, 200u);
  TFileEntry first;
  ASSERT_TRUE(Env.Files().FindFirstEntry(kFolder, "*.GIF", first));
  EXPECT_TRUE(MatchesMask(first.Name, "photo*.gif"));
  EXPECT_EQ(first.Attributes & kFaDirectory, 0u);
  EXPECT_FALSE(Env.Files().FindFirstEntry(kFolder, "*.wmf", first));
}

}  // namespace
}  // namespace bx
