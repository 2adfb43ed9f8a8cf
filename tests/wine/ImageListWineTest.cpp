// The image folder list in the real window under Wine: a real folder
// listed and followed live through the real change notification, a click
// that sets the wallpaper, the browse dialog and the picture dialog with
// its preview, and closing the dialog in a burst of copies.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>

#include "dialogs/main/BXMain.h"
#include "settings/SettingsModel.h"
#include "tests/unit/ImageWriters.h"
#include "tests/wine/ThreadWindows.h"
#include "tests/wine/WineTestUtil.h"

#include <commctrl.h>

namespace bx {
namespace {

using namespace winetest;

test::TBytes SmallBmp(std::uint32_t colour) {
  test::TDibSpec bmp;
  bmp.Width = 8;
  bmp.Height = 8;
  bmp.Bits = test::PackDibRows(8, 8, 24, std::vector<std::uint32_t>(64, colour), false);
  return test::WriteBmp(bmp);
}

// What a window has drawn, read from its own surface (any thread).
TCapture ScreenOf(HWND window) {
  TCapture capture;
  RECT r{};
  GetWindowRect(window, &r);
  capture.Width = r.right - r.left;
  capture.Height = r.bottom - r.top;
  HDC screen = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, capture.Width, -capture.Height, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.Width, capture.Height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  capture.Pixels.assign(pixels, pixels + static_cast<std::size_t>(capture.Width) * capture.Height);
  for (auto& p : capture.Pixels) p &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return capture;
}

BOOL CALLBACK FindById(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<std::pair<int, HWND>*>(data);
  if (GetDlgCtrlID(window) == search->first && IsWindowVisible(window)) {
    search->second = window;
    return FALSE;
  }
  return TRUE;
}

HWND ChildWithId(HWND parent, int id) {
  std::pair<int, HWND> search{id, nullptr};
  EnumChildWindows(parent, FindById, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

// The state of a browse window's OK once the window has settled: the
// selection of the first folder and whatever the window does after it
// (Wine sets OK itself after our callback) take their time on a busy
// machine; the state must then hold.
int SettledOk(HWND browse, bool expected) {
  auto enabled = [browse] { return IsWindowEnabled(GetDlgItem(browse, IDOK)) != FALSE; };
  for (int waited = 0; waited < 5000 && enabled() != expected; waited += 50) Sleep(50);
  Sleep(400);
  return enabled() ? 1 : 0;
}

class ImageListWineTest : public ::testing::Test {
 protected:
  ImageListWineTest() {
    Application().ClearTerminate();
    PreviewBusy = false;
    for (const char* name : {"ShowHint", "WallpaperFolder", "WallpaperOrg", "WallpaperOriginPre",
                             "WallpaperbgColorOption", "ShowPreviewGrid", "WallpaperSaveToDefUser"})
      Registry.Remove(HKEY_CURRENT_USER, Raw(kOwnKey), name);
    for (const char* name : {"Wallpaper", "TileWallpaper", "WallpaperStyle", "WallPaperOriginX",
                             "WallPaperOriginY"})
      Registry.Keep(HKEY_CURRENT_USER, Raw(kDesktopKey), name);
    Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "Wallpaper", "");
    // Tiled, which Wine's desktop shows itself: Apply converts the image.
    Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "TileWallpaper", "1");
    Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "WallpaperStyle", "0");
  }
  ~ImageListWineTest() override { Close(); }

  void Write(const std::string& name, const test::TBytes& bytes) {
    ASSERT_TRUE(WriteWholeFile(Folder.File(name), bytes)) << name;
  }
  test::TBytes Jpeg() const { return test::WriteJpeg(96, 64, 3, test::GradientSamples(96, 64)); }

  void Open(const std::string& folder) {
    Registry.SetText(HKEY_CURRENT_USER, Raw(kOwnKey), "WallpaperFolder", folder);
    Dialog = std::make_unique<TFrmBXMain>();
    Window = CreateFormWindow(*Dialog);
    ASSERT_TRUE(Window);
    ShowWindow(Window, SW_SHOW);
    SetForegroundWindow(Window);
    Pump(100);
  }
  void Close() {
    if (!Dialog) return;
    DestroyFormWindow(*Dialog);
    Dialog.reset();
  }

  HWND List() const { return FindControlWindow(*Dialog, "ListBoxWallpapers"); }
  int Count() const { return static_cast<int>(SendMessageW(List(), LB_GETCOUNT, 0, 0)); }
  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < Count(); ++i) {
      std::wstring text(static_cast<std::size_t>(SendMessageW(List(), LB_GETTEXTLEN, i, 0)), L'\0');
      SendMessageW(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      entries.push_back(Narrow(text));
    }
    return entries;
  }
  bool Enabled(const char* control) const {
    return IsWindowEnabled(FindControlWindow(*Dialog, control)) != FALSE;
  }

  TRegistryRestorer Registry;
  TTempFolder Folder{"bxlist"};
  TRecordingMessageBoxes Boxes;
  TPlatformScope Scope{Boxes};
  std::unique_ptr<TFrmBXMain> Dialog;
  HWND Window = nullptr;
};

TEST_F(ImageListWineTest, ARealFolderIsListedAndFollowedLive) {
  Write("b.bmp", SmallBmp(0x2060A0));
  Write("A.jpg", Jpeg());
  Write("\xC3\x96lbild.bmp", SmallBmp(0xA06020));  // Ölbild
  Write("notes.txt", {'x'});
  Open(Folder.Path());
  EXPECT_EQ(Dialog->FWallpaperFolder, Folder.Path() + "\\");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"(none)", "A.jpg", "b.bmp", "\xC3\x96lbild.bmp"}));
  // The list has its strings: typing a letter jumps to an entry.
  EXPECT_TRUE(GetWindowLongW(List(), GWL_STYLE) & LBS_HASSTRINGS);
  EXPECT_TRUE(SaveBitmap(CaptureWindow(Window), "ImageList.bmp"));

  // A file copied in appears within a second, a deleted one goes.
  Write("c.gif", {'G', 'I', 'F', '8', '9', 'a'});
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(PumpUntil([&] { return Count() == 5; }, 1000)) << Count();
  EXPECT_LT(GetTickCount64() - start, 1000u);
  EXPECT_EQ(Entries().at(3), "c.gif");
  ASSERT_TRUE(DeleteFileW(Widen(Folder.File("b.bmp")).c_str()));
  EXPECT_TRUE(PumpUntil([&] { return Count() == 4; }, 1000)) << Count();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"(none)", "A.jpg", "c.gif", "\xC3\x96lbild.bmp"}));
  // Following the folder changes no setting.
  EXPECT_FALSE(Enabled("BitBtnOk"));
  EXPECT_TRUE(Boxes.Texts.empty());
}

TEST_F(ImageListWineTest, AClickSetsTheWallpaperAndApplyStoresIt) {
  Write("one.bmp", SmallBmp(0x336699));
  Write("two.bmp", SmallBmp(0x993366));
  Open(Folder.Path());
  ASSERT_EQ(Count(), 3);
  ASSERT_FALSE(Enabled("BitBtnApply"));
  RECT item{};
  SendMessageW(List(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  Click(List(), item.left + 5, (item.top + item.bottom) / 2);
  EXPECT_EQ(SendMessageW(List(), LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Dialog->FWallpaper, Folder.File("two.bmp"));
  EXPECT_TRUE(Enabled("BitBtnOk"));
  EXPECT_TRUE(Enabled("BitBtnApply"));
  PostMessageW(FindControlWindow(*Dialog, "BitBtnApply"), BM_CLICK, 0, 0);
  Pump(100);
  const auto stored = ReadRegValue(HKEY_CURRENT_USER, Raw(kDesktopKey), "Wallpaper");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->Text(), Folder.File("two.bmp"));
  EXPECT_FALSE(Enabled("BitBtnApply"));
  EXPECT_TRUE(Boxes.Texts.empty());
}

// The window sorts the rows by the system's collation, which ranks these
// names otherwise than their code points do; each row still names its file.
TEST_F(ImageListWineTest, EachRowAsTheWindowSortsItGivesItsOwnFile) {
  test::TGifLayout gif;
  gif.Width = gif.Height = 2;
  gif.GlobalMap = {MakeColor(255, 0, 0), MakeColor(0, 0, 255)};
  gif.Frames.push_back({0, 0, 2, 2, false, {0, 1, 1, 0}});
  Write("!x.gif", test::WriteGif(gif));
  std::uint32_t colour = 0x203040;
  for (const char* name : {"(a).bmp", "_a.bmp", "a.bmp"}) Write(name, SmallBmp(colour += 0x101010));
  Open(Folder.Path());
  const std::vector<std::string> rows = Entries();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], "(none)");
  ASSERT_NE(rows, Dialog->ListBoxWallpapers.Items()) << "the window sorts as the model does";
  for (int row = static_cast<int>(rows.size()) - 1; row >= 0; --row) {
    SCOPED_TRACE(rows[static_cast<std::size_t>(row)]);
    RECT item{};
    SendMessageW(List(), LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
    SendMessageW(List(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    Click(List(), item.left + 5, (item.top + item.bottom) / 2);
    Pump(20);
    EXPECT_EQ(SendMessageW(List(), LB_GETCURSEL, 0, 0), row);
    EXPECT_EQ(Dialog->FWallpaper, row == 0 ? "" : Folder.File(rows[static_cast<std::size_t>(row)]));
    EXPECT_EQ(Dialog->FWallpaperOrg, Dialog->FWallpaper);
  }
  EXPECT_TRUE(Boxes.Texts.empty()) << (Boxes.Texts.empty() ? "" : Boxes.Texts[0]);
}

// With the keyboard cues hidden (the dialog worked by mouse) Windows draws
// the focused row with ODS_NOFOCUSRECT: the row shows no focus rectangle,
// though its handler still learns that it has the focus. Wine keeps no
// keyboard cues, so the list's owner is sent the row's drawing directly.
TEST_F(ImageListWineTest, TheFocusRectangleFollowsTheKeyboardCues) {
  Write("one.bmp", SmallBmp(0x336699));
  Write("two.bmp", SmallBmp(0x993366));
  Open(Folder.Path());
  HWND list = List();
  std::vector<TOwnerDrawState> states;
  auto handler = Dialog->ListBoxWallpapers.OnDrawItem;
  Dialog->ListBoxWallpapers.OnDrawItem = [&](TObject& control, int index, const TRect& rect,
                                             TOwnerDrawState state) {
    states.push_back(state);
    handler(control, index, rect, state);
  };
  RECT row{};
  SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  const int width = row.right - row.left, height = row.bottom - row.top;
  ASSERT_GT(width, 8);
  ASSERT_GT(height, 4);
  auto drawn = [&](UINT itemState) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(list));
    item.itemID = 1;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = itemState;
    item.hwndItem = list;
    item.hDC = memory;
    item.rcItem = {0, 0, width, height};
    item.itemData = static_cast<ULONG_PTR>(SendMessageW(list, LB_GETITEMDATA, 1, 0));
    SendMessageW(GetParent(list), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> out(pixels, pixels + static_cast<std::size_t>(width) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out;
  };
  const auto plain = drawn(ODS_SELECTED);
  const auto focused = drawn(ODS_SELECTED | ODS_FOCUS);
  const auto cuesHidden = drawn(ODS_SELECTED | ODS_FOCUS | ODS_NOFOCUSRECT);
  EXPECT_NE(focused, plain) << "no focus rectangle with the cues shown";
  EXPECT_EQ(cuesHidden, plain) << "a focus rectangle with the cues hidden";
  EXPECT_EQ(states, (std::vector<TOwnerDrawState>{odSelected, odSelected | odFocused,
                                                  odSelected | odFocused}));
  Dialog->ListBoxWallpapers.OnDrawItem = handler;
}

TEST_F(ImageListWineTest, TheBrowseDialogConfirmsOnlyFoldersWithImages) {
  const std::string empty = Folder.File("empty");
  ASSERT_TRUE(CreateDirectoryW(Widen(empty).c_str(), nullptr));
  Write("one.bmp", SmallBmp(0x336699));
  Open(empty);
  ASSERT_EQ(Dialog->FWallpaperFolder, empty + "\\");
  std::atomic<int> okEnabled{-1};
  std::atomic<bool> captioned{false};
  HWND browse = wine::WhileShown(
      L"Browse for Folder", [&] { Dialog->BitBtnSetFolder.Click(); },
      [&](HWND w) {
        captioned = true;
        okEnabled = SettledOk(w, false);
        PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
      });
  EXPECT_TRUE(browse);
  EXPECT_TRUE(captioned);
  EXPECT_EQ(okEnabled, 0) << "OK on a folder without images";
  EXPECT_EQ(Dialog->FWallpaperFolder, empty + "\\");
  EXPECT_FALSE(Enabled("BitBtnOk"));

  // A folder with images can be confirmed, and becomes the listed folder.
  Dialog->FWallpaperFolder = Folder.Path() + "\\";
  okEnabled = -1;
  wine::WhileShown(
      L"Browse for Folder", [&] { Dialog->BitBtnSetFolder.Click(); },
      [&](HWND w) {
        okEnabled = SettledOk(w, true);
        PostMessageW(w, WM_COMMAND, IDOK, 0);
      });
  EXPECT_EQ(okEnabled, 1);
  EXPECT_EQ(Dialog->FWallpaperFolder, Folder.Path() + "\\");
  EXPECT_EQ(Count(), 2);
  EXPECT_TRUE(Enabled("BitBtnOk"));
  EXPECT_TRUE(Enabled("BitBtnApply"));
  EXPECT_TRUE(Boxes.Texts.empty());
  Close();
  RemoveDirectoryW(Widen(empty).c_str());
}

// The colours the picture dialog's preview pane shows.
int PaneColours(HWND pane) {
  const TCapture capture = ScreenOf(pane);
  const std::set<std::uint32_t> seen(capture.Pixels.begin(), capture.Pixels.end());
  return static_cast<int>(seen.size());
}

// Selects the file of that name in the file dialog's list, as a click would.
bool SelectFile(HWND dialog, const std::wstring& name) {
  for (HWND view : wine::ChildrenOfClass(dialog, L"SysListView32")) {
    LVFINDINFOW find{};
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    find.psz = name.c_str();
    const int index = static_cast<int>(SendMessageW(view, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(&find)));
    if (index < 0) continue;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(view, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    return true;
  }
  return false;
}

// The pane previews the selected picture; a damaged one shows nothing, with
// no error box, and the next picture shows again.
TEST_F(ImageListWineTest, ThePictureDialogPreviewsAJpegAndNothingOfADamagedFile) {
  Write("photo.jpg", Jpeg());
  Write("broken.jpg", {0xFF, 0xD8, 0xFF, 'n', 'o'});
  Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "Wallpaper", Folder.File("photo.jpg"));
  Open(Folder.Path());
  ASSERT_EQ(Dialog->FWallpaper, Folder.File("photo.jpg"));
  std::atomic<int> photo{0}, broken{-1}, again{0};
  std::atomic<bool> pane{false}, selected{false};
  // The file dialog moves the working folder while it runs.
  wchar_t here[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, here);
  const std::string shot = Narrow(here) + "\\PictureDialog.bmp";
  HWND shown = wine::WhileShown(
      L"Select an wallpaper image", [&] { Dialog->BitBtnSelectImage.Click(); },
      [&](HWND w) {
        Sleep(1000);
        if (HWND preview = ChildWithId(w, 0x4B0)) {
          pane = true;
          photo = PaneColours(preview);
          SaveBitmap(ScreenOf(w), shot);
          selected = SelectFile(w, L"broken");
          Sleep(700);
          broken = PaneColours(preview);
          SelectFile(w, L"photo");
          Sleep(700);
          again = PaneColours(preview);
        }
        PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
      });
  EXPECT_TRUE(shown);
  EXPECT_TRUE(pane) << "the preview pane";
  // The gradient of the JPEG, scaled: many colours, not a plain pane.
  EXPECT_GT(photo, 50);
  EXPECT_TRUE(selected) << "the damaged file in the dialog's list";
  EXPECT_EQ(broken, 1) << "a plain pane";
  EXPECT_GT(again, 50) << "the pane previews again";
  EXPECT_EQ(Dialog->FWallpaper, Folder.File("photo.jpg"));
  EXPECT_FALSE(Enabled("BitBtnOk"));
  EXPECT_TRUE(Boxes.Texts.empty()) << (Boxes.Texts.empty() ? "" : Boxes.Texts[0]);
}

TEST_F(ImageListWineTest, ClosingTheDialogWhileFilesAreCopiedIn) {
  Write("a.bmp", SmallBmp(0x336699));
  Open(Folder.Path());
  std::atomic<bool> stop{false};
  std::atomic<int> written{0};
  std::thread copier([&] {
    for (int i = 0; !stop && i < 3000; ++i)
      if (WriteWholeFile(Folder.File("copy" + std::to_string(i) + ".bmp"), SmallBmp(0x102030)))
        ++written;
  });
  Pump(300);
  const ULONGLONG start = GetTickCount64();
  Close();
  const ULONGLONG took = GetTickCount64() - start;
  stop = true;
  copier.join();
  Pump(200);
  EXPECT_GT(written, 0);
  EXPECT_LT(took, 1000u) << "closing waited";
  EXPECT_TRUE(Boxes.Texts.empty());
  for (int i = 0; i < written; ++i) DeleteFileW(Widen(Folder.File("copy" + std::to_string(i) + ".bmp")).c_str());
}

}  // namespace
}  // namespace bx
