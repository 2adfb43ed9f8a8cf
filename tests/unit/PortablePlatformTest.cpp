#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "binding/portable/PortableEnvironment.h"
#include "platform/Errors.h"

namespace bx {
namespace {

namespace fs = std::filesystem;

template <typename F>
std::string ErrorOf(F call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

TEST(PortableFiles, WindowsPathsLandUnderTheRootAndNeverLeaveIt) {
  fs::path root;
  {
    TPortableFiles files;
    root = files.Root();
    EXPECT_EQ(files.HostPath("C:\\Windows\\"), root / "C" / "Windows");
    EXPECT_EQ(files.HostPath("c:\\Users\\me\\AppData\\KVF of Mobrelin.bmp"),
              root / "C" / "Users" / "me" / "AppData" / "KVF of Mobrelin.bmp");
    EXPECT_EQ(files.HostPath("C:\\a\\..\\..\\..\\etc\\passwd"), root / "C" / "etc" / "passwd");
    EXPECT_EQ(files.HostPath("..\\..\\x"), root / "x");
    EXPECT_TRUE(files.DirectoryExists("C:\\Windows\\"));
    EXPECT_TRUE(files.DirectoryExists("C:\\Windows"));
    EXPECT_FALSE(files.FileExists("C:\\Windows"));  // folders are no files
    EXPECT_FALSE(files.DeleteFile("C:\\Windows"));
    EXPECT_TRUE(fs::is_directory(root));
  }
  EXPECT_FALSE(fs::exists(root)) << "the root outlived its object";
}

TEST(PortableFiles, ReplacingWritesWholeFilesAndKeepsTheOldOneOnFailure) {
  TPortableFiles files;
  files.CreateDirectory("C:\\Users\\me\\AppData");
  const std::string file = "C:\\Users\\me\\AppData\\KVF of Mobrelin.bmp";
  files.WriteFileReplacing(file, {1, 2, 3});
  EXPECT_EQ(files.ReadFile(file), (std::vector<std::uint8_t>{1, 2, 3}));
  FileStamp stamp;
  ASSERT_TRUE(files.GetFileStamp(file, stamp));
  EXPECT_EQ(stamp.size, 3u);

  files.WriteFileReplacing(file, {4, 5});
  EXPECT_EQ(files.ReadFile(file), (std::vector<std::uint8_t>{4, 5}));
  // Only the file itself is left in the folder: no temporary behind.
  auto folder = files.HostPath("C:\\Users\\me\\AppData");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

  EXPECT_EQ(ErrorOf([&] { files.WriteFileReplacing("C:\\Missing\\x.bmp", {1}); }),
            "Cannot create file C:\\Missing\\x.bmp");
  EXPECT_FALSE(files.DirectoryExists("C:\\Missing"));
  // A folder in the way is not replaced.
  files.CreateDirectory("C:\\Users\\me\\AppData\\Folder");
  EXPECT_EQ(ErrorOf([&] { files.WriteFileReplacing("C:\\Users\\me\\AppData\\Folder", {1}); }),
            "Cannot create file C:\\Users\\me\\AppData\\Folder");
  EXPECT_TRUE(files.DirectoryExists("C:\\Users\\me\\AppData\\Folder"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);

  EXPECT_TRUE(files.DeleteFile(file));
  EXPECT_FALSE(files.DeleteFile(file));
  EXPECT_FALSE(files.GetFileStamp(file, stamp));
  EXPECT_EQ(ErrorOf([&] { files.ReadFile(file); }), "Cannot open file " + file);
}

TEST(PortableFiles, AFolderIsListedWithItsFoldersAndFiles) {
  TPortableFiles files;
  files.CreateDirectory("C:\\Pictures\\old.bmp");
  files.WriteTextFile("C:\\Pictures\\b.JPG", "j");
  files.WriteTextFile("C:\\Pictures\\.hidden.gif", "g");
  std::vector<TFileEntry> entries = files.ListFolder("C:\\Pictures\\");
  std::sort(entries.begin(), entries.end(),
            [](const TFileEntry& a, const TFileEntry& b) { return a.Name < b.Name; });
  EXPECT_EQ(entries, (std::vector<TFileEntry>{{".hidden.gif", kFaArchive | kFaHidden},
                                              {"b.JPG", kFaArchive},
                                              {"old.bmp", kFaDirectory}}));
  EXPECT_EQ(files.ListFolder("C:\\Pictures").size(), 3u) << "with or without the closing \\";
  EXPECT_TRUE(files.ListFolder("C:\\Missing").empty());
  EXPECT_TRUE(files.ListFolder("C:\\Pictures\\b.JPG").empty()) << "a file is no folder";
}

TEST(InotifyChangeNotification, AChangeOrAWakeEndsTheWait) {
  TPortableFiles files;
  TInotifyChangeNotification notification(
      [&files](const std::string& path) { return files.HostPath(path); });
  files.CreateDirectory("C:\\Pictures\\Deeper");
  std::uint32_t error = 0;
  std::unique_ptr<IFolderWatch> watch =
      notification.WatchFolder("C:\\Pictures", false, kNotifyFileName | kNotifyLastWrite, error);
  ASSERT_TRUE(watch);
  EXPECT_EQ(error, 0u);
  files.WriteTextFile("C:\\Pictures\\new.bmp", "b");
  EXPECT_EQ(watch->Wait(), TWatchResult::Changed);
  ASSERT_TRUE(watch->Rearm());
  // Re-armed, a wait lasts until the next change or a wake from another thread.
  std::thread waker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    watch->Wake();
  });
  EXPECT_EQ(watch->Wait(), TWatchResult::Woken);
  waker.join();
  EXPECT_EQ(watch->Wait(), TWatchResult::Woken) << "woken for good";

  // Without the subtree, what happens deeper down is no change.
  std::unique_ptr<IFolderWatch> flat =
      notification.WatchFolder("C:\\Pictures", false, kNotifyFileName, error);
  std::unique_ptr<IFolderWatch> deep =
      notification.WatchFolder("C:\\Pictures", true, kNotifyFileName, error);
  ASSERT_TRUE(flat && deep);
  files.WriteTextFile("C:\\Pictures\\Deeper\\x.gif", "g");
  EXPECT_EQ(deep->Wait(), TWatchResult::Changed);
  flat->Wake();
  EXPECT_EQ(flat->Wait(), TWatchResult::Woken);

  EXPECT_FALSE(notification.WatchFolder("C:\\Missing", false, kNotifyFileName, error));
  EXPECT_EQ(error, static_cast<std::uint32_t>(kErrorFileNotFound));
  EXPECT_FALSE(notification.ErrorText(error).empty());
}

TEST(PortableEnvironment, InstallsItsServicesAndRestoresThePreviousOnes) {
  TPlatform before = Platform();
  IFormHost* hostBefore = &FormHost();
  {
    TPortableEnvironment outer;
    EXPECT_EQ(Platform().Registry, &outer.Registry());
    EXPECT_EQ(Platform().Files, &outer.Files());
    EXPECT_EQ(Platform().System, &outer.System());
    EXPECT_EQ(Platform().MessageBoxes, &outer.MessageBoxes());
    EXPECT_EQ(&FormHost(), &outer.FormHost());
    {
      TPortableEnvironment inner;
      EXPECT_EQ(Platform().Registry, &inner.Registry());
      EXPECT_NE(inner.Files().Root(), outer.Files().Root());
    }
    EXPECT_EQ(Platform().Registry, &outer.Registry());
    EXPECT_EQ(&FormHost(), &outer.FormHost());
  }
  EXPECT_EQ(Platform().Registry, before.Registry);
  EXPECT_EQ(&FormHost(), hostBefore);
}

TEST(ScriptedMessageBoxes, AnswersFromTheScriptThenWithTheFirstButton) {
  TScriptedMessageBoxes boxes;
  boxes.Answers = {TMsgDlgBtn::mbYesToAll};
  const TMsgDlgButtons buttons{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbYesToAll, TMsgDlgBtn::mbCancel};
  EXPECT_EQ(boxes.MessageDlg("Clear?", TMsgDlgType::mtConfirmation, buttons), TMsgDlgBtn::mbYesToAll);
  EXPECT_EQ(boxes.MessageDlg("Again?", TMsgDlgType::mtConfirmation, buttons), TMsgDlgBtn::mbYes);
  ASSERT_EQ(boxes.Messages.size(), 2u);
  EXPECT_EQ(boxes.Messages[1].Text, "Again?");
  EXPECT_EQ(boxes.Messages[1].Buttons, buttons);
}

class MemoryRegistryTest : public ::testing::Test {
 protected:
  RegKey Open(const std::string& path, std::uint32_t access, long expected = kErrorSuccess) {
    RegKey key = 0;
    EXPECT_EQ(Reg.OpenKey(kHKeyCurrentUser, path, access, key), expected) << path;
    return key;
  }
  TMemoryRegistry Reg;
};

TEST_F(MemoryRegistryTest, KeysAreCreatedWithEveryLevelAndFoundWithoutRegardToCase) {
  Open("Software", kKeyAllAccess, kErrorFileNotFound);
  RegKey key = 0;
  ASSERT_EQ(Reg.CreateKey(kHKeyCurrentUser, "Software\\Mobrelin\\Bexora", kKeyAllAccess, key), 0);
  Reg.CloseKey(key);
  RegKey again = Open("SOFTWARE\\mobrelin\\BEXORA", kKeyAllAccess);
  Reg.CloseKey(again);
  Open("\\Software", kKeyAllAccess, kErrorBadPathname);
  Open("Software\\\\Mobrelin", kKeyAllAccess, kErrorBadPathname);

  RegKey software = Open("Software", kKeyAllAccess);
  for (const char* name : {"Zeta", "alpha", "Mid"}) {
    ASSERT_EQ(Reg.CreateKey(software, name, kKeyAllAccess, key), 0);
    Reg.CloseKey(key);
  }
  std::vector<std::string> names;
  std::string name;
  for (std::uint32_t i = 0; Reg.EnumKey(software, i, name) == kErrorSuccess; ++i)
    names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"Mobrelin", "Zeta", "alpha", "Mid"}));
  EXPECT_EQ(Reg.EnumKey(software, 4, name), kErrorNoMoreItems);
  std::uint32_t subKeys = 0, values = 0;
  EXPECT_EQ(Reg.QueryInfoKey(software, subKeys, values), 0);
  EXPECT_EQ(subKeys, 4u);

  // A key with subkeys is not deleted; handles of a deleted key stop working.
  EXPECT_EQ(Reg.DeleteKey(software, "Mobrelin"), kErrorAccessDenied);
  RegKey zeta = Open("Software\\Zeta", kKeyAllAccess);
  EXPECT_EQ(Reg.DeleteKey(software, "ZETA"), kErrorSuccess);
  EXPECT_EQ(Reg.QueryInfoKey(zeta, subKeys, values), kErrorKeyDeleted);
  EXPECT_EQ(Reg.CloseKey(zeta), kErrorSuccess);
  EXPECT_EQ(Reg.DeleteKey(software, "Zeta"), kErrorFileNotFound);
  Reg.CloseKey(software);
  EXPECT_EQ(Reg.CloseKey(software), kErrorInvalidHandle);
  EXPECT_EQ(Reg.OpenHandleCount(), 0u);
}

TEST_F(MemoryRegistryTest, QueryingReportsTheSizeNeeded) {
  Reg.SetStringValue(kHKeyCurrentUser, "K", "V", "abc");
  RegKey key = Open("K", kKeyAllAccess);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(Reg.QueryValue(key, "v", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 8u);
  std::uint8_t data[8] = {};
  size = 4;
  EXPECT_EQ(Reg.QueryValue(key, "V", &type, data, &size), kErrorMoreData);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(Reg.QueryValue(key, "V", &type, data, &size), kErrorSuccess);
  EXPECT_EQ(data[0], 'a');
  EXPECT_EQ(Reg.QueryValue(key, "W", &type, data, &size), kErrorFileNotFound);
  EXPECT_EQ(Reg.DeleteValue(key, "W"), kErrorFileNotFound);
  Reg.CloseKey(key);
}

TEST_F(MemoryRegistryTest, AccessRightsOfKeysAndHandles) {
  const std::uint32_t exists = kStandardRightsRead | kKeyQueryValue | kKeyEnumerateSubKeys;
  Reg.SetDwordValue(kHKeyCurrentUser, "RO\\Sub", "V", 1);
  Reg.SetReadOnly(kHKeyCurrentUser, "RO");
  RegKey key = Open("RO", exists);
  std::uint8_t one = 1;
  EXPECT_EQ(Reg.SetValue(key, "V", kRegBinary, &one, 1), kErrorAccessDenied);  // a read handle
  Reg.CloseKey(key);
  Open("RO", kKeyAllAccess, kErrorAccessDenied);
  RegKey created = 0;
  EXPECT_EQ(Reg.CreateKey(kHKeyCurrentUser, "RO", kKeyAllAccess, created), kErrorAccessDenied);
  EXPECT_EQ(Reg.CreateKey(kHKeyCurrentUser, "RO\\New", kKeyAllAccess, created), kErrorAccessDenied);
  EXPECT_EQ(Reg.DeleteKey(kHKeyCurrentUser, "RO\\Sub"), kErrorSuccess);  // the subkey may change
  EXPECT_EQ(Reg.DeleteKey(kHKeyCurrentUser, "RO"), kErrorAccessDenied);

  Reg.SetUnreadable(kHKeyCurrentUser, "Hidden");
  Open("Hidden", exists, kErrorAccessDenied);
  Open("Hidden", kKeyQueryValue, kErrorAccessDenied);

  Reg.SetFailSetValue(kHKeyCurrentUser, "Full");
  key = Open("Full", kKeyAllAccess);
  EXPECT_EQ(Reg.SetValue(key, "V", kRegBinary, &one, 1), kErrorAccessDenied);
  Reg.CloseKey(key);
  EXPECT_EQ(Reg.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace bx
