// The real main dialog in its real window under Wine, on the Windows
// services: its controls as created, commands through real messages, the
// settings in Wine's registry, dragging on the preview, the full-screen
// view, and screenshots to look at.
#include <gtest/gtest.h>

#include "dialogs/main/BXMain.h"
#include "resources/BXMainLayout.h"
#include "settings/RegSpecial.h"
#include "settings/SettingsModel.h"
#include "tests/wine/WineTestUtil.h"

#include <memory>
#include <utility>
#include <vector>

namespace bx {
namespace {

using namespace winetest;

// A string value of the current user's registry, read with the raw calls;
// `type` receives its type.
std::wstring ReadUserValue(const wchar_t* key, const wchar_t* name, DWORD& type) {
  HKEY handle = nullptr;
  type = REG_NONE;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
    return L"(no key)";
  wchar_t data[260] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  const LONG rc = RegQueryValueExW(handle, name, nullptr, &type,
                                   reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(handle);
  return rc == ERROR_SUCCESS ? std::wstring(data) : L"(no value)";
}

class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Platform().Registry && Platform().System && Platform().Files)
        << "the Windows services";
    // A known start: centred single copy, no origin, none of the applet's
    // own preferences.
    DeleteRegistryKey(kHKeyCurrentUser, kOwnKey, false);
    WriteRegistryValue(kHKeyCurrentUser, kDesktopKey, "TileWallpaper", TVariant("0"));
    WriteRegistryValue(kHKeyCurrentUser, kDesktopKey, "WallpaperStyle", TVariant("0"));
    WriteRegistryValue(kHKeyCurrentUser, kDesktopKey, "WallpaperOriginX", TVariant("0"));
    WriteRegistryValue(kHKeyCurrentUser, kDesktopKey, "WallpaperOriginY", TVariant("0"));
    UseAppletResources();
    Open();
  }
  void Open() {
    if (Dialog) FormHost().Release(*Dialog);
    Application().ClearTerminate();
    Dialog = std::make_unique<TFrmBXMain>(0);
    Window = CreateFormWindow(*Dialog);
    ASSERT_TRUE(Window);
    ShowWindow(Window, SW_SHOW);
    SetForegroundWindow(Window);
    FormWindowOf(*Dialog).FocusFirst();
    Pump(50);
  }
  void TearDown() override {
    if (Dialog) FormHost().Release(*Dialog);
    EXPECT_FALSE(IsWindow(Window));
    Dialog.reset();
    Application().ClearTerminate();
    if (Platform().Registry) DeleteRegistryKey(kHKeyCurrentUser, kOwnKey, false);
    SetResourceModule(nullptr);
  }
  HWND Control(const char* name) { return FindControlWindow(*Dialog, name); }
  TBounds ModelBounds() const {
    return {Dialog->Left(), Dialog->Top(), Dialog->Width(), Dialog->Height()};
  }

  TRecordingMessageBoxes Boxes;
  TPlatformScope Scope{Boxes};
  std::unique_ptr<TFrmBXMain> Dialog;
  HWND Window = nullptr;
};

TEST_F(MainDialogTest, TheWindowHoldsEveryControlAsDesigned) {
  const TFormLayout& layout = BXMainLayout();
  EXPECT_EQ(TextOf(Window), L"Control Panel - Bexora");
  EXPECT_EQ(ClientSize(Window).cx, 385);
  EXPECT_EQ(ClientSize(Window).cy, 277);
  EXPECT_EQ(OuterBounds(Window), ModelBounds());
  EXPECT_LE(Dialog->Width(), 393) << "the normal form";
  EXPECT_EQ(GetWindowLongW(Window, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

  for (const TControlLayout& entry : layout.Controls) {
    const std::string name(entry.Name);
    SCOPED_TRACE(name);
    HWND child = Control(name.c_str());
    ASSERT_TRUE(child);
    const TBounds bounds = ChildBounds(child);
    EXPECT_EQ(bounds.Left, entry.Left);
    EXPECT_EQ(bounds.Top, entry.Top);
    if (entry.Width > 0) {
      EXPECT_EQ(bounds.Width, entry.Width);
      EXPECT_EQ(bounds.Height, entry.Height);
    } else {
      EXPECT_GT(bounds.Width, 0) << "a label sized to its caption";
      EXPECT_GT(bounds.Height, 0);
    }
    if (entry.Kind != TControlKind::SpinEdit && entry.Kind != TControlKind::ListBox &&
        entry.Kind != TControlKind::Image) {
      // A glyph button without a caption holds the name a screen reader reads.
      const std::string caption(entry.Caption.empty() ? entry.AccessibleName : entry.Caption);
      EXPECT_EQ(TextOf(child), std::wstring(caption.begin(), caption.end()));
    }
    EXPECT_TRUE(IsWindowVisible(child));
    const bool startsEnabled = name != "BitBtnOk" && name != "BitBtnApply";
    EXPECT_EQ(IsWindowEnabled(child) != FALSE, startsEnabled);
  }
  EXPECT_EQ(TextOf(Control("SpinEditOriginX")), L"0");
  EXPECT_EQ(SendMessageW(Control("RadioButtonCenter"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Control("RadioButtonTile"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // The system menu ends with the dialog's three commands.
  HMENU menu = GetSystemMenu(Window, FALSE);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 4);
  const std::pair<unsigned, std::wstring> expected[] = {
      {666, L"&About ...\tShift+F1"}, {667, L"&Toggle hints\tCtrl+F1"}, {668, L"C&lear registry ..."}};
  for (int i = 0; i < 3; ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, count - 3 + i, text, 64, MF_BYPOSITION);
    EXPECT_EQ(GetMenuItemID(menu, count - 3 + i), expected[i].first);
    EXPECT_EQ(std::wstring(text), expected[i].second);
  }
  EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), 0xFFFFFFFFu) << "the system's own items stay";

  // The applet's icon in the title bar and the task switcher, each at its own size.
  for (auto [which, cx] : {std::pair{ICON_SMALL, SM_CXSMICON}, std::pair{ICON_BIG, SM_CXICON}}) {
    SCOPED_TRACE(which);
    HICON icon = reinterpret_cast<HICON>(SendMessageW(Window, WM_GETICON, which, 0));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(cx));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }

  EXPECT_TRUE(SaveBitmap(CaptureWindow(Window), "MainDialog.bmp"));
  // The grid drawn into the preview, scaled down with its lines kept.
  ClickCentre(Control("CheckBoxShowPreviewGrid"));
  EXPECT_TRUE(Dialog->FShowPreviewGrid);
  const TCapture preview = CaptureWindow(Control("ImageWallpaper"));
  ASSERT_EQ(preview.Width, 151);
  int reddish = 0;
  for (std::uint32_t pixel : preview.Pixels)
    if (((pixel >> 16) & 0xFF) > ((pixel >> 8) & 0xFF) + 60) ++reddish;
  EXPECT_GT(reddish, 50) << "the solid red middle row and column show";
  EXPECT_TRUE(SaveBitmap(CaptureWindow(Window), "MainDialogGrid.bmp"));
  EXPECT_TRUE(Boxes.Texts.empty()) << (Boxes.Texts.empty() ? "" : Boxes.Texts[0]);
}

TEST_F(MainDialogTest, TileAndApplyStoreTheDesktopValues) {
  ClickCentre(Control("RadioButtonTile"));
  EXPECT_EQ(SendMessageW(Control("RadioButtonTile"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Control("RadioButtonCenter"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(IsWindowEnabled(Control("BitBtnOk")));
  EXPECT_TRUE(IsWindowEnabled(Control("BitBtnApply")));
  ClickCentre(Control("BitBtnApply"));
  DWORD type = 0;
  EXPECT_EQ(ReadUserValue(L"Control Panel\\Desktop", L"TileWallpaper", type), L"1");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(ReadUserValue(L"Control Panel\\Desktop", L"WallpaperStyle", type), L"0");
  EXPECT_FALSE(IsWindowEnabled(Control("BitBtnApply")));
  EXPECT_TRUE(IsWindowEnabled(Control("BitBtnOk")));
  EXPECT_FALSE(Application().Terminated()) << "Apply keeps the dialog open";
  EXPECT_TRUE(Boxes.Texts.empty()) << (Boxes.Texts.empty() ? "" : Boxes.Texts[0]);

  // Stretch on top of Tile: stretched and tiled, stored by OK, which ends the dialog.
  ClickCentre(Control("CheckBoxStretch"));
  ClickCentre(Control("BitBtnOk"));
  EXPECT_EQ(ReadUserValue(L"Control Panel\\Desktop", L"TileWallpaper", type), L"0");
  EXPECT_EQ(ReadUserValue(L"Control Panel\\Desktop", L"WallpaperStyle", type), L"3");
  EXPECT_TRUE(Application().Terminated());
}

TEST_F(MainDialogTest, DraggingOnThePreviewSetsTheOrigin) {
  HWND preview = Control("ImageWallpaper");
  const int factorX = Dialog->FDesktopWidth / 151;
  const int factorY = Dialog->FDesktopHeight / 111;
  ASSERT_GT(factorX, 0);
  PostMouse(preview, WM_LBUTTONDOWN, 10, 20, MK_LBUTTON);
  PostMouse(preview, WM_MOUSEMOVE, 100, 50, MK_LBUTTON);
  Pump();
  EXPECT_EQ(TextOf(Control("SpinEditOriginX")), std::to_wstring(100 * factorX));
  EXPECT_EQ(TextOf(Control("SpinEditOriginY")), std::to_wstring(50 * factorY));
  // With Ctrl held nothing moves.
  PostMouse(preview, WM_MOUSEMOVE, 30, 30, MK_LBUTTON | MK_CONTROL);
  PostMouse(preview, WM_LBUTTONUP, 30, 30, MK_CONTROL);
  // Nor without the button.
  PostMouse(preview, WM_MOUSEMOVE, 40, 40, 0);
  Pump();
  EXPECT_EQ(Dialog->SpinEditOriginX.Value(), 100 * factorX);
  EXPECT_EQ(Dialog->SpinEditOriginY.Value(), 50 * factorY);
  EXPECT_TRUE(IsWindowEnabled(Control("BitBtnApply")));

  // The arrow keys in the focused spin edit step by 10.
  SetFocus(Control("SpinEditOriginX"));
  PressKey(VK_DOWN);
  EXPECT_EQ(Dialog->SpinEditOriginX.Value(), 100 * factorX - 10);
  EXPECT_EQ(Dialog->FOriginX, 100 * factorX - 10);
}

TEST_F(MainDialogTest, TogglePreviewTwiceReturnsToTheDialog) {
  SetWindowPos(Window, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const TBounds normal = ModelBounds();
  EXPECT_EQ(normal.Left, 120);
  EXPECT_EQ(OuterBounds(Window), normal);
  ClickCentre(Control("BitBtnTogglePreview"));
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(OuterBounds(Window), (TBounds{0, 0, screenWidth, screenHeight}));
  EXPECT_FALSE(GetWindowLongW(Window, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(ChildBounds(Control("ImageWallpaper")), (TBounds{0, 0, screenWidth, screenHeight}));
  EXPECT_TRUE(IsWindowVisible(Control("BitBtnTogglePreview"))) << "still above the picture";
  EXPECT_TRUE(SaveBitmap(CaptureWindow(Window), "MainDialogFullScreen.bmp"));

  // Back to its own size and place: under this frame (not the classic one)
  // the client area is what it was.
  ClickCentre(Control("BitBtnTogglePreview"));
  EXPECT_EQ(ModelBounds(), normal);
  EXPECT_EQ(OuterBounds(Window), normal);
  EXPECT_EQ(ClientSize(Window).cx, 385);
  EXPECT_EQ(ClientSize(Window).cy, 277);
  EXPECT_TRUE(GetWindowLongW(Window, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(ChildBounds(Control("ImageWallpaper")), (TBounds{4, 4, 151, 111}));
  EXPECT_TRUE(Boxes.Texts.empty()) << (Boxes.Texts.empty() ? "" : Boxes.Texts[0]);
}

TEST_F(MainDialogTest, EnteringFullScreenTurnsAutoProofOff) {
  ClickCentre(Control("BitBtnToggleAutoProof"));
  EXPECT_TRUE(Dialog->FAutoProof);
  EXPECT_FALSE(IsWindowVisible(Control("BitBtnCancel")));
  // Esc cancels nothing while Cancel is hidden.
  SetFocus(Control("ListBoxWallpapers"));
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(Application().Terminated());

  ClickCentre(Control("BitBtnTogglePreview"));
  EXPECT_FALSE(Dialog->FAutoProof);
  EXPECT_TRUE(IsWindowVisible(Control("BitBtnCancel")));
  EXPECT_GT(Dialog->Width(), 393);
  ClickCentre(Control("BitBtnTogglePreview"));
  EXPECT_EQ(ClientSize(Window).cx, 385);

  // Cancel is back, and Esc presses it.
  SetFocus(Control("ListBoxWallpapers"));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(Application().Terminated());
}

// Windows sends BN_CLICKED when an unchecked radio button receives the
// focus; Wine does not, so the radio buttons here do as Windows would.
WNDPROC gButtonProc = nullptr;
LRESULT CALLBACK FocusNotifyingRadio(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFOCUS && SendMessageW(window, BM_GETCHECK, 0, 0) == BST_UNCHECKED)
    SendMessageW(GetParent(window), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED), reinterpret_cast<LPARAM>(window));
  return CallWindowProcW(gButtonProc, window, message, wParam, lParam);
}

// The BM_SETDONTCLICK messages sent on this thread while recorded.
std::vector<std::pair<HWND, WPARAM>> gDontClick;
LRESULT CALLBACK RecordDontClick(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == BM_SETDONTCLICK)
    gDontClick.emplace_back(sent->hwnd, sent->wParam);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainDialogTest, FocusOnARadioButtonIsNoClick) {
  // Windows itself checks an auto radio button that gets the focus, unless
  // the button is told not to when it is made.
  gDontClick.clear();
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordDontClick, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(hook);
  Open();
  UnhookWindowsHookEx(hook);
  HWND tile = Control("RadioButtonTile");
  HWND center = Control("RadioButtonCenter");
  EXPECT_EQ(gDontClick, (std::vector<std::pair<HWND, WPARAM>>{{tile, TRUE}, {center, TRUE}}));
  for (HWND radio : {tile, center})
    gButtonProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        radio, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FocusNotifyingRadio)));
  auto untouched = [&] {
    EXPECT_FALSE(Dialog->RadioButtonTile.Checked());
    EXPECT_TRUE(Dialog->RadioButtonCenter.Checked());
    EXPECT_EQ(SendMessageW(tile, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(center, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Dialog->FTileWallpaper, 0);
    EXPECT_EQ(Dialog->FWallpaperStyle, 0);
    EXPECT_FALSE(IsWindowEnabled(Control("BitBtnOk")));
    EXPECT_FALSE(IsWindowEnabled(Control("BitBtnApply")));
  };
  // The notification alone, as Windows sends it.
  SendMessageW(Window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(tile), BN_CLICKED),
               reinterpret_cast<LPARAM>(tile));
  untouched();
  // Opening the dialog: the first control, Tile, gets the focus; then Tab
  // goes through the radio buttons.
  SetFocus(Control("ListBoxWallpapers"));
  FormWindowOf(*Dialog).FocusFirst();
  EXPECT_EQ(GetFocus(), tile);
  PressKey(VK_TAB);
  PressKey(VK_TAB, ssShift);
  EXPECT_EQ(GetFocus(), tile);
  untouched();
  DWORD type = 0;
  EXPECT_EQ(ReadUserValue(L"Control Panel\\Desktop", L"TileWallpaper", type), L"0");

  // A real click still checks it, by mouse and by the space bar.
  ClickCentre(tile);
  EXPECT_TRUE(Dialog->RadioButtonTile.Checked());
  EXPECT_EQ(SendMessageW(center, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(IsWindowEnabled(Control("BitBtnApply")));
  SetFocus(center);
  PressKey(VK_SPACE);
  EXPECT_TRUE(Dialog->RadioButtonCenter.Checked());
  EXPECT_EQ(SendMessageW(tile, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(Boxes.Texts.empty()) << (Boxes.Texts.empty() ? "" : Boxes.Texts[0]);
}

TEST_F(MainDialogTest, ShortcutsAndTheCloseBox) {
  // Ctrl+F1 toggles the hints and stores the choice at once.
  const bool hints = Dialog->ShowHint();
  SetFocus(Control("SpinEditOriginX"));
  PressKey(VK_F1, ssCtrl);
  EXPECT_NE(Dialog->ShowHint(), hints);
  EXPECT_EQ(ReadRegistryValue(kHKeyCurrentUser, kOwnKey, "ShowHint", TVariant(hints)).AsBoolean(),
            !hints);
  EXPECT_EQ(TextOf(Control("SpinEditOriginX")), L"0") << "the key went no further";
  // Shift+F1 asks for the about box; the test program names no module, and
  // here no module file of its own either (the about box itself: AboutBoxTest).
  Platform().Modules = nullptr;
  PressKey(VK_F1, ssShift);
  ASSERT_EQ(Boxes.Texts.size(), 1u);
  EXPECT_EQ(Boxes.Texts[0], "There are no version information to display!");
  // F1 alone does neither.
  PressKey(VK_F1);
  EXPECT_EQ(Boxes.Texts.size(), 1u);
  EXPECT_NE(Dialog->ShowHint(), hints);

  // The close box ends the modal run without applying and without the end request.
  ClickCentre(Control("RadioButtonTile"));
  PostMessageW(Window, WM_SYSCOMMAND, SC_CLOSE, 0);
  FormHost().ShowModal(*Dialog);
  EXPECT_FALSE(Application().Terminated());
  EXPECT_FALSE(IsWindowVisible(Window));
  DWORD type = 0;
  EXPECT_EQ(ReadUserValue(L"Control Panel\\Desktop", L"TileWallpaper", type), L"0");
}

}  // namespace
}  // namespace bx
