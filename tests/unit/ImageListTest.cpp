// The image list of the main dialog: its filling, drawing, click, the live
// refresh and the two buttons with their dialogs, on the portable platform.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "components/ListFiles.h"
#include "tests/unit/PreviewFixture.h"
#include "tests/unit/RecordingCanvas.h"

namespace bx {
namespace {

using namespace std::chrono_literals;
using Names = std::vector<std::string>;

class ImageList : public PreviewFixture {
 protected:
  static constexpr const char* kPictures = "C:\\Pictures";

  void UseFolder(const std::string& folder) { SetOwnText("WallpaperFolder", folder); }
  void Touch(const std::string& path) { Files().WriteTextFile(path, "x"); }
  std::string Picture(const std::string& name, int size = 4) {
    const std::string path = std::string(kPictures) + "\\" + name;
    Files().WriteFile(path, Bmp24(size, size, Coded));
    return path;
  }
  const Names& Items() { return Dialog().ListBoxWallpapers.Items(); }

  // What the list draws for item i, in the state given.
  std::vector<TCanvasCall> Draw(int index, TOwnerDrawState state = 0) {
    TRecordingCanvas canvas;
    Dialog().ListBoxWallpapers.DrawItem(canvas, index, {0, 13 * index, 377, 13 * index + 13},
                                        state);
    return canvas.Calls;
  }
  std::string Shown(int index) { return Draw(index).at(1).Text; }

  // The folder monitor's reports, as the dialog's message loop runs them.
  void RunReports() {
    ASSERT_TRUE(Env.Dispatch().WaitForCall(3s));
    while (Env.Dispatch().WaitForCall(150ms)) Env.Dispatch().ProcessCalls();
    Env.Dispatch().Advance(10);
  }
};

TEST_F(ImageList, FilledInOrderAfterNoneWithExtensionsHidden) {
  for (const char* name : {"b.JPG", "a.gif", "C.bmp", "notes.txt", "(a).bmp", "!x.gif",
                           "sunset.jpg", "sunset.bmp", "my.photo.jpg", ".bmp", "x.wmf",
                           "y.emf", "z.ico", "w.jpeg"})
    Touch(std::string(kPictures) + "\\" + name);
  Files().CreateDirectory("C:\\Pictures\\old.bmp");
  UseFolder(kPictures);
  TFrmBXMain& d = Dialog();
  // The folder gets its "\", the list "(none)" first, then the images in
  // order of their names without regard to case; a folder named like an
  // image is listed too.
  EXPECT_EQ(d.FWallpaperFolder, "C:\\Pictures\\");
  EXPECT_EQ(Items(), (Names{"(none)", "!x.gif", "(a).bmp", ".bmp", "a.gif", "b.JPG", "C.bmp",
                            "my.photo.jpg", "old.bmp", "sunset.bmp", "sunset.jpg", "w.jpeg",
                            "x.wmf", "y.emf", "z.ico"}));
  // No wallpaper: the preview selects "(none)".
  EXPECT_EQ(d.ListBoxWallpapers.ItemIndex(), 0);
  EXPECT_EQ(d.FolderMonitor.FolderName(), "C:\\Pictures\\");
  EXPECT_TRUE(d.FolderMonitor.Active());

  // Names without their extension, from the last ".".
  EXPECT_EQ(Shown(0), "(none)");
  EXPECT_EQ(Shown(4), "a");
  EXPECT_EQ(Shown(5), "b");
  EXPECT_EQ(Shown(6), "C");
  EXPECT_EQ(Shown(7), "my.photo");
  EXPECT_EQ(Shown(9), "sunset");
  EXPECT_EQ(Shown(10), "sunset");
  EXPECT_EQ(Shown(3), "");

  // The item's rectangle filled, the text at its corner without margin, in
  // the list's colours or the highlight's.
  const TRect rect{0, 26, 377, 39};
  EXPECT_EQ(Draw(2), (std::vector<TCanvasCall>{
                         {TCanvasCall::Fill, rect, 0, 0, {}, 0xFFFFFF, 0x000000},
                         {TCanvasCall::Draw, {}, 0, 26, "(a)", 0xFFFFFF, 0x000000}}));
  EXPECT_EQ(Draw(2, odSelected | odFocused),
            (std::vector<TCanvasCall>{
                {TCanvasCall::Fill, rect, 0, 0, {}, 0x800000, 0xFFFFFF},
                {TCanvasCall::Draw, {}, 0, 26, "(a)", 0x800000, 0xFFFFFF}}));
}

TEST_F(ImageList, TheConvertedFileIsNeverListed) {
  Touch(std::string(kAppData) + kConvertedFileName);
  Touch(std::string(kAppData) + "kvf OF mobrelin.BMP.gif");
  Touch(std::string(kAppData) + "other.bmp");
  UseFolder("c:\\Users\\me\\AppData");
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(Items(), (Names{"(none)", "kvf OF mobrelin.BMP.gif", "other.bmp"}));
  // Anywhere else a file of that name is an image like any other.
  Touch(std::string("C:\\Pictures\\") + kConvertedFileName);
  d.FWallpaperFolder = kPictures;
  d.FillWallpaperList();
  EXPECT_EQ(Items(), (Names{"(none)", kConvertedFileName}));
}

TEST_F(ImageList, TheWallpaperIsFoundWithoutRegardToAsciiCase) {
  const std::string sea = Picture("sea.jpg.bmp");
  Picture("Sea.bmp");
  StoreWallpaper(sea);
  UseFolder("c:\\Pictures\\");
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(d.FWallpaperFolder, "c:\\Pictures\\");
  EXPECT_EQ(d.ListBoxWallpapers.ItemIndex(), 2);
  d.FWallpaper = "C:\\PICTURES\\SEA.JPG.BMP";
  EXPECT_EQ(d.FindWallpaperIndex(), 2);

  // After a conversion the list shows the image the user chose, and the
  // picture dialog opens on it.
  d.FWallpaper = std::string(kAppData) + kConvertedFileName;
  d.FWallpaperOrg = sea;
  EXPECT_EQ(d.FindWallpaperIndex(), 2);
  Env.Dialogs().OnOpenFile = [](const TOpenFileRequest&, std::string&) { return false; };
  d.BitBtnSelectImage.Click();
  ASSERT_EQ(Env.Dialogs().OpenRequests.size(), 1u);
  EXPECT_EQ(Env.Dialogs().OpenRequests[0].FileName, sea);
  // The converted file in other letters is some other file there.
  d.FWallpaper = AsciiUpperCase(d.FWallpaper);
  d.BitBtnSelectImage.Click();
  EXPECT_EQ(Env.Dialogs().OpenRequests[1].FileName, d.FWallpaper);
  // Nothing found: no index, "(none)" included.
  d.FWallpaper = "C:\\Elsewhere\\sea.jpg.bmp";
  EXPECT_EQ(d.FindWallpaperIndex(), -1);
  d.FWallpaper.clear();
  EXPECT_EQ(d.FindWallpaperIndex(), -1);
}

TEST_F(ImageList, AClickChoosesTheWallpaperAndNoneClearsIt) {
  const std::string logo = Picture("logo.bmp", 20);
  UseFolder(kPictures);
  SetOwnText("WallpaperOrg", "C:\\Photos\\logo.jpg");
  TFrmBXMain& d = Dialog();
  ASSERT_FALSE(d.BitBtnOk.Enabled());
  d.ListBoxWallpapers.Select(1);
  EXPECT_EQ(d.FWallpaper, logo);
  EXPECT_EQ(d.FWallpaperOrg, logo);
  EXPECT_TRUE(d.BitBtnOk.Enabled());
  EXPECT_TRUE(d.BitBtnApply.Enabled());
  EXPECT_EQ(At(502, 374), Coded(0, 0));  // centred on the 1024 x 768 desktop

  d.BitBtnApply.Click();
  EXPECT_EQ(Desktop("Wallpaper"), logo);
  d.ListBoxWallpapers.Select(0);
  EXPECT_EQ(d.FWallpaper, "");
  EXPECT_EQ(d.FWallpaperOrg, "");
  EXPECT_TRUE(d.BitBtnApply.Enabled());
  EXPECT_EQ(At(502, 374), d.FBackgroundColor);
  EXPECT_NE(At(502, 374), Coded(0, 0));
  d.ListBoxWallpapers.Select(-1);
  EXPECT_EQ(d.FWallpaper, "");
}

TEST_F(ImageList, AFileThatCannotBeLoadedReportsTheLoadersError) {
  Touch("C:\\Pictures\\broken.gif");
  UseFolder(kPictures);
  TFrmBXMain& d = Dialog();
  d.Dispatch([&] { d.ListBoxWallpapers.Select(1); });
  EXPECT_EQ(d.FWallpaper, "C:\\Pictures\\broken.gif");
  ASSERT_EQ(MessageBoxes().Messages.size(), 1u);
  EXPECT_FALSE(MessageBoxes().Messages[0].Text.empty());
}

TEST_F(ImageList, TheListFollowsTheFolderWithoutChangingASetting) {
  const std::string a = Picture("a.bmp");
  StoreWallpaper(a);
  UseFolder(kPictures);
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(Items(), (Names{"(none)", "a.bmp"}));
  ASSERT_EQ(d.ListBoxWallpapers.ItemIndex(), 1);

  Picture("0.bmp");
  RunReports();
  EXPECT_EQ(Items(), (Names{"(none)", "0.bmp", "a.bmp"}));
  EXPECT_EQ(d.ListBoxWallpapers.ItemIndex(), 2);
  EXPECT_FALSE(d.BitBtnOk.Enabled());
  EXPECT_FALSE(d.BitBtnApply.Enabled());

  Files().DeleteFile("C:\\Pictures\\0.bmp");
  RunReports();
  EXPECT_EQ(Items(), (Names{"(none)", "a.bmp"}));
  EXPECT_EQ(d.FWallpaper, a);

  // The folder going leaves "(none)"; nothing stored changes.
  std::filesystem::remove_all(Files().HostPath(kPictures));
  RunReports();
  EXPECT_EQ(Items(), (Names{"(none)"}));
  EXPECT_EQ(d.ListBoxWallpapers.ItemIndex(), -1);
  EXPECT_EQ(d.FWallpaper, a);
  EXPECT_TRUE(MessageBoxes().Messages.empty());
}

TEST_F(ImageList, ClosingTheDialogInABurstOfCopiesReturnsAtOnce) {
  UseFolder(kPictures);
  Files().CreateDirectory(kPictures);
  Dialog();
  std::atomic<bool> stop{false};
  std::thread copier([&] {
    for (int i = 0; !stop && i < 2000; ++i) Touch("C:\\Pictures\\" + std::to_string(i) + ".gif");
  });
  ASSERT_TRUE(Env.Dispatch().WaitForCall(3s));
  Env.Dispatch().ProcessCalls();
  Form.reset();
  stop = true;
  copier.join();
  EXPECT_TRUE(Env.Dispatch().WaitForThreads(3s));
  Env.Dispatch().ProcessCalls();
  Env.Dispatch().Advance(100);
  EXPECT_EQ(Env.Dispatch().PendingTimers(), 0);
}

// The merge delay on a real clock: a burst of 1,000 copies refills the
// list a few times, at most once per delay, never once per file.
TEST_F(ImageList, ABurstOfCopiesRefillsTheListAFewTimes) {
  UseFolder(kPictures);
  Files().CreateDirectory(kPictures);
  TFrmBXMain& d = Dialog();
  int refills = 0;
  d.FolderMonitor.OnChange = [&](TObject& sender) {
    ++refills;
    d.FolderMonitorChange(sender);
  };
  const std::vector<std::uint8_t> image = Bmp24(2, 2, Coded);
  using TClock = std::chrono::steady_clock;
  const auto start = TClock::now();
  std::atomic<bool> done{false};
  std::thread copier([&] {
    for (int i = 0; i < 1000; ++i) Files().WriteFile("C:\\Pictures\\" + std::to_string(i) + ".bmp", image);
    done = true;
  });
  auto last = start;
  int reports = 0;
  // The dialog's loop: reports as they come, the timer on the real clock.
  while (!done || Env.Dispatch().WaitForCall(100ms) || Env.Dispatch().PendingTimers()) {
    Env.Dispatch().WaitForCall(2ms);
    reports += Env.Dispatch().ProcessCalls();
    const auto step = std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - last);
    Env.Dispatch().Advance(static_cast<std::uint64_t>(step.count()));
    last += step;
  }
  copier.join();
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - start);
  EXPECT_EQ(Items().size(), 1001u);
  EXPECT_GE(refills, 1);
  EXPECT_LE(refills, reports);
  EXPECT_LE(refills, 1 + elapsed.count() / 10);
  EXPECT_LT(refills, 1000);
  std::printf("1,000 copies: %d reports, %d refills in %lld ms\n", reports, refills,
              static_cast<long long>(elapsed.count()));
}

TEST_F(ImageList, SetImageFolderOffersOnlyFoldersWithImages) {
  const std::string a = Picture("a.bmp");
  StoreWallpaper(a);
  UseFolder(kPictures);
  Files().CreateDirectory("C:\\Empty\\sub.gif");
  Touch("C:\\Empty\\readme.txt");
  Files().CreateDirectory("C:\\Other");
  for (int i = 0; i < 30; ++i)
    Files().WriteFile("C:\\Other\\" + std::to_string(100 + i) + ".bmp", Bmp24(2, 2, Coded));
  TFrmBXMain& d = Dialog();

  std::vector<bool> okStates;
  TScriptedBrowseWindow* seen = nullptr;
  Env.Dialogs().OnBrowse = [&](TScriptedBrowseWindow& w) {
    seen = &w;
    okStates.push_back(w.OkEnabled);  // the folder selected first
    w.MoveTo("C:\\Empty");
    okStates.push_back(w.OkEnabled);
    w.MoveTo("");  // an item without a path
    okStates.push_back(w.OkEnabled);
    w.MoveTo("C:\\Other");
    okStates.push_back(w.OkEnabled);
    return true;
  };
  d.BitBtnSetFolder.Click();
  ASSERT_TRUE(seen);
  const TFolderBrowseRequest& request = Env.Dialogs().BrowseRequests.at(0);
  EXPECT_EQ(request.Directory, "C:\\Pictures\\");
  EXPECT_EQ(request.Text, "Select a folder to display in the list of Walpapers");
  EXPECT_EQ(request.Flags, 0x5u);
  EXPECT_EQ(okStates, (std::vector<bool>{true, false, false, true}));

  // The new folder does not hold the wallpaper: nothing selected, the
  // preview as it was, OK and Apply enabled.
  EXPECT_EQ(d.FWallpaperFolder, "C:\\Other\\");
  EXPECT_EQ(Items().size(), 31u);
  EXPECT_EQ(d.ListBoxWallpapers.ItemIndex(), -1);
  EXPECT_EQ(d.ListBoxWallpapers.TopIndexRequests(), 0u);
  EXPECT_EQ(d.FWallpaper, a);
  EXPECT_EQ(At(510, 382), Coded(0, 0));
  EXPECT_TRUE(d.BitBtnOk.Enabled());
  EXPECT_TRUE(d.BitBtnApply.Enabled());
  EXPECT_EQ(d.FolderMonitor.FolderName(), "C:\\Other\\");

  // A folder holding it: its entry is selected and scrolled to the top.
  d.FWallpaper = "C:\\Other\\120.bmp";
  Env.Dialogs().OnBrowse = [](TScriptedBrowseWindow& w) { return w.Selected == "C:\\Other\\"; };
  d.BitBtnSetFolder.Click();
  EXPECT_EQ(d.ListBoxWallpapers.ItemIndex(), 21);
  EXPECT_EQ(d.ListBoxWallpapers.TopIndex(), 21);
  EXPECT_EQ(d.ListBoxWallpapers.TopIndexRequests(), 1u);

  // Cancelled, or confirmed while OK is disabled: nothing changes.
  d.BitBtnApply.Click();
  Env.Dialogs().OnBrowse = [](TScriptedBrowseWindow& w) {
    w.MoveTo("C:\\Empty");
    return true;
  };
  d.BitBtnSetFolder.Click();
  EXPECT_EQ(d.FWallpaperFolder, "C:\\Other\\");
  EXPECT_FALSE(d.BitBtnApply.Enabled());
  Env.Dialogs().OnBrowse = nullptr;
  d.BitBtnSetFolder.Click();
  EXPECT_EQ(d.FWallpaperFolder, "C:\\Other\\");
  EXPECT_EQ(Items().size(), 31u);
}

TEST_F(ImageList, SetImageFolderAppliesInAutoProof) {
  UseFolder(kPictures);
  Picture("a.bmp");
  Files().CreateDirectory("C:\\Other");
  Touch("C:\\Other\\b.gif");
  TFrmBXMain& d = Dialog();
  d.BitBtnToggleAutoProof.Click();
  Env.Dialogs().OnBrowse = [](TScriptedBrowseWindow& w) {
    w.MoveTo("C:\\Other");
    return true;
  };
  d.BitBtnSetFolder.Click();
  EXPECT_EQ(OwnText("WallpaperFolder"), "C:\\Other\\");
}

TEST_F(ImageList, SelectImagePicksAnyFileThroughThePictureDialog) {
  UseFolder(kPictures);
  Picture("a.bmp");
  Files().WriteFile("C:\\Elsewhere\\Ölbild.bmp", Bmp24(8, 8, Coded));
  TFrmBXMain& d = Dialog();
  Env.Dialogs().OnOpenFile = [](const TOpenFileRequest&, std::string& name) {
    name = "C:\\Elsewhere\\Ölbild.bmp";
    return true;
  };
  d.BitBtnSelectImage.Click();
  const TOpenFileRequest& request = Env.Dialogs().OpenRequests.at(0);
  EXPECT_EQ(request.Title, "Select an wallpaper image");
  EXPECT_EQ(request.InitialDir, "C:\\Pictures\\");
  EXPECT_EQ(request.FileName, "");
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_TRUE(request.PicturePreview);
  EXPECT_EQ(request.Flags, kOfnHideReadOnly | kOfnPathMustExist | kOfnFileMustExist |
                               kOfnNoTestFileCreate | kOfnEnableSizing | kOfnDontAddToRecent);
  EXPECT_EQ(request.FlagsEx, kOfnExNoPlacesBar);
  using Pair = std::pair<std::string, std::string>;
  EXPECT_EQ(request.Filter,
            (std::vector<Pair>{
                {"All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png;*.webp)",
                 "*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png;*.webp"},
                {"CompuServe GIF Image (*.gif)", "*.gif"},
                {"JPEG Image File (*.jpg)", "*.jpg"},
                {"JPEG Image File (*.jpeg)", "*.jpeg"},
                {"Bitmaps (*.bmp)", "*.bmp"},
                {"Icons (*.ico)", "*.ico"},
                {"Enhanced Metafiles (*.emf)", "*.emf"},
                {"Metafiles (*.wmf)", "*.wmf"},
                {"Portable Network Graphics (*.png)", "*.png"},
                {"WebP Image (*.webp)", "*.webp"}}));
  EXPECT_EQ(d.FWallpaper, "C:\\Elsewhere\\Ölbild.bmp");
  EXPECT_EQ(d.FWallpaperOrg, "C:\\Elsewhere\\Ölbild.bmp");
  EXPECT_EQ(d.ListBoxWallpapers.ItemIndex(), -1);
  EXPECT_EQ(At(508, 380), Coded(0, 0));
  EXPECT_TRUE(d.BitBtnOk.Enabled());
  EXPECT_EQ(Items().size(), 2u);

  // Cancelled: nothing changes.
  d.BitBtnApply.Click();
  Env.Dialogs().OnOpenFile = nullptr;
  d.BitBtnSelectImage.Click();
  EXPECT_EQ(Env.Dialogs().OpenRequests.at(1).FileName, "C:\\Elsewhere\\Ölbild.bmp");
  EXPECT_EQ(d.FWallpaper, "C:\\Elsewhere\\Ölbild.bmp");
  EXPECT_FALSE(d.BitBtnApply.Enabled());
}

TEST_F(ImageList, AnEmptyFolderSettingListsOnlyNoneAndKeepsTheWatch) {
  UseFolder(kPictures);
  Picture("a.bmp");
  TFrmBXMain& d = Dialog();
  d.FWallpaperFolder.clear();
  d.FillWallpaperList();
  EXPECT_EQ(Items(), (Names{"(none)"}));
  EXPECT_EQ(d.FolderMonitor.FolderName(), "C:\\Pictures\\");
  EXPECT_EQ(d.FindWallpaperIndex(), -1);
}

}  // namespace
}  // namespace bx
