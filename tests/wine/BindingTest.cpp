// The window binding under Wine, with a small form of its own holding one
// control of every kind: real windows at the model's bounds, real
// notifications into the model, the model's changes into the windows, the
// dialog keys and the modal run.
#include <gtest/gtest.h>

#include <stdexcept>

#include "components/Spin.h"
#include "platform/Errors.h"
#include "tests/wine/WineTestUtil.h"
#include "ui/Controls.h"
#include "ui/Form.h"

#include "binding/win32/SpinEditWindow.h"

#include <commctrl.h>

namespace bx {
namespace {

using namespace winetest;

// The services the spin edit needs, with its beeps counted.
class TBeepCounter : public ISystem {
 public:
  int GetSystemMetrics(int index) override { return ::GetSystemMetrics(index); }
#pragma push_macro("SystemParametersInfo")
#undef SystemParametersInfo
  bool SystemParametersInfo(std::uint32_t, std::uint32_t, const std::string&,
                            std::uint32_t) override {
    return true;
  }
#pragma pop_macro("SystemParametersInfo")
  bool SetSysColor(int, std::uint32_t) override { return true; }
  std::uint32_t GetSysColor(int index) override { return ::GetSysColor(index); }
  void Beep(std::uint32_t, std::uint32_t) override { ++Beeps; }
  void MessageBeep() override { ++Beeps; }
  std::vector<std::string> CommandLineArgs() override { return {"wine_tests.exe"}; }
  int DisplayColorDepth() override { return 24; }
  int LogPixelsPerInchX() override { return 96; }
  int LogPixelsPerInchY() override { return 96; }
  bool IsWindows95OrNT() override { return true; }
  void EndProgram() override {}
  std::uint64_t TickCountMs() override { return GetTickCount64(); }
  int Beeps = 0;
};

struct TMouseCall {
  bool Down;
  TShiftState Shift;
  int X, Y;
};

class TTestForm : public TForm {
 public:
  TLabel LabelValue{"LabelValue"};
  TSpinEdit SpinEditValue{"SpinEditValue"};
  TCheckBox CheckBoxFlag{"CheckBoxFlag"};
  TRadioButton RadioButtonAlpha{"RadioButtonAlpha"};
  TRadioButton RadioButtonBeta{"RadioButtonBeta"};
  TListBox ListBoxItems{"ListBoxItems"};
  TImage ImagePicture{"ImagePicture"};
  TButton ButtonApply{"ButtonApply"};
  TBitBtn BitBtnOk{"BitBtnOk"};
  TBitBtn BitBtnCancel{"BitBtnCancel"};

  TTestForm() {
    SetCaption("Binding test");
    SetClientSize(260, 170);
    SetColor(::GetSysColor(COLOR_BTNFACE));
    SetFontColor(::GetSysColor(COLOR_WINDOWTEXT));
    KeyPreview = true;
    Centered = true;
    Add(LabelValue, "&Value:", 8, 10, 0, 0, -1);
    Add(SpinEditValue, "", 60, 6, 53, 22, 2);
    Add(CheckBoxFlag, "&Flag", 8, 40, 80, 17, 1);
    Add(RadioButtonAlpha, "&Alpha", 8, 60, 60, 17, 3);
    Add(RadioButtonBeta, "&Beta", 70, 60, 60, 17, 4);
    Add(ListBoxItems, "", 8, 84, 120, 60, 5);
    Add(ImagePicture, "", 140, 8, 100, 80, -1);
    Add(ButtonApply, "A&pply", 140, 100, 75, 25, 0);
    Add(BitBtnOk, "O&k", 140, 130, 56, 25, 6);
    Add(BitBtnCancel, "Cancel", 200, 130, 56, 25, 7);
    LabelValue.FocusControl = &SpinEditValue;
    SpinEditValue.Increment = 10;
    RadioButtonAlpha.SetChecked(true);
    ListBoxItems.Sorted = true;
    ImagePicture.SetCursor(TCursor::crCross);
    ImagePicture.SetHint("The picture");
    BitBtnOk.Default = true;
    BitBtnCancel.Cancel = true;
    BitBtnOk.NumGlyphs = 2;
    BitBtnOk.Glyph = "NOSUCHGLYPH";  // a missing glyph leaves the caption alone

    CheckBoxFlag.OnClick = [this](TObject&) { ++FlagClicks; if (ThrowFromFlag) throw Exception("Broken handler"); };
    RadioButtonAlpha.OnClick = [this](TObject&) { ++AlphaClicks; };
    RadioButtonBeta.OnClick = [this](TObject&) { ++BetaClicks; };
    ListBoxItems.OnClick = [this](TObject&) { ++ListClicks; };
    SpinEditValue.OnChange = [this](TObject&) { ++SpinChanges; };
    ButtonApply.OnClick = [this](TObject&) {
      ++ApplyClicks;
      if (ThrowOddFromApply) throw 42;
    };
    BitBtnOk.OnClick = [this](TObject&) { ++OkClicks; if (TerminateOnOk) Application().Terminate(); };
    BitBtnCancel.OnClick = [this](TObject&) { ++CancelClicks; };
    ImagePicture.OnMouseDown = [this](TObject&, TMouseButton, TShiftState shift, int x, int y) {
      Mouse.push_back({true, shift, x, y});
    };
    ImagePicture.OnMouseMove = [this](TObject&, TShiftState shift, int x, int y) {
      Mouse.push_back({false, shift, x, y});
    };
  }

  void KeyDown(int& key, TShiftState shift) override {
    Keys.push_back({key, shift});
    // Ctrl+Up is the form's own: consumed before the focused control.
    if (key == VK_UP && shift == ssCtrl) key = 0;
  }
  void SysCommand(unsigned id) override { Commands.push_back(id); }
  bool Help(std::uint16_t command, std::int32_t data, bool& callHelp) override {
    HelpRequests.push_back({command, data});
    callHelp = false;
    return true;
  }
  void CloseQuery() override {
    ++CloseQueries;
    OwnerEnabledAtClose = ParentWindow && IsWindowEnabled(reinterpret_cast<HWND>(ParentWindow));
  }

  int FlagClicks = 0, AlphaClicks = 0, BetaClicks = 0, ListClicks = 0, SpinChanges = 0;
  int ApplyClicks = 0, OkClicks = 0, CancelClicks = 0, CloseQueries = 0;
  bool ThrowFromFlag = false, ThrowOddFromApply = false, TerminateOnOk = false;
  bool OwnerEnabledAtClose = true;
  std::vector<std::pair<int, TShiftState>> Keys;
  std::vector<unsigned> Commands;
  std::vector<std::pair<unsigned, int>> HelpRequests;
  std::vector<TMouseCall> Mouse;

 private:
  void Add(TControl& control, const char* caption, int left, int top, int width, int height,
           int tabOrder) {
    control.SetCaption(caption);
    control.SetBounds(left, top, width, height);
    control.SetTabOrder(tabOrder);
    control.SetHint(std::string("Hint of ") + control.Name());
    AddControl(control);
  }
};

class BindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().ClearTerminate();
    Window = CreateFormWindow(Form);
    ASSERT_TRUE(Window);
  }
  void TearDown() override {
    FormHost().Release(Form);
    EXPECT_FALSE(IsWindow(Window)) << "released with its form";
    Application().ClearTerminate();
  }
  HWND Control(const char* name) { return FindControlWindow(Form, name); }
  void Show() {
    ShowWindow(Window, SW_SHOW);
    SetForegroundWindow(Window);
    SetActiveWindow(Window);
    Pump(50);
  }
  std::string FocusName() {
    for (TControl* control : Form.Controls())
      if (FindControlWindow(Form, control->Name()) == GetFocus()) return control->Name();
    return "(none)";
  }

  TRecordingMessageBoxes Boxes;
  TBeepCounter System;
  TPlatformScope Scope{Boxes, &System};
  TTestForm Form;
  HWND Window = nullptr;
};

TEST_F(BindingTest, EveryKindIsCreatedAtItsBoundsWithItsCaption) {
  // The form: a fixed dialog frame with the system menu and close box only,
  // the client area exactly the form's, centred, the model told its real size.
  const LONG style = GetWindowLongW(Window, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(Window, GWL_EXSTYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_POPUP), WS_CAPTION | WS_SYSMENU | WS_POPUP);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(exStyle & WS_EX_CONTEXTHELP);
  EXPECT_EQ(TextOf(Window), L"Binding test");
  EXPECT_EQ(ClientSize(Window).cx, 260);
  EXPECT_EQ(ClientSize(Window).cy, 170);
  const TBounds outer = OuterBounds(Window);
  EXPECT_EQ((TBounds{Form.Left(), Form.Top(), Form.Width(), Form.Height()}), outer);
  EXPECT_EQ(Form.ClientWidth(), 260);
  EXPECT_EQ(Form.ClientHeight(), 170);
  EXPECT_EQ(outer.Left, (GetSystemMetrics(SM_CXSCREEN) - outer.Width) / 2);
  EXPECT_EQ(outer.Top, (GetSystemMetrics(SM_CYSCREEN) - outer.Height) / 2);

  struct TExpected {
    const char* Name;
    const char* Class;
    TBounds Bounds;
    const wchar_t* Text;
  };
  const int spinHeight = Form.SpinEditValue.Height();
  EXPECT_GE(spinHeight, 22) << "never below the minimum height";
  for (const TExpected& e : {
           TExpected{"CheckBoxFlag", "Button", {8, 40, 80, 17}, L"&Flag"},
           TExpected{"RadioButtonAlpha", "Button", {8, 60, 60, 17}, L"&Alpha"},
           TExpected{"RadioButtonBeta", "Button", {70, 60, 60, 17}, L"&Beta"},
           // Windows that do not paint their text hold a screen reader's name in it.
           TExpected{"ListBoxItems", "ListBox", {8, 84, 120, 60}, L"Hint of ListBoxItems"},
           TExpected{"ImagePicture", "TImage", {140, 8, 100, 80}, L"The picture"},
           TExpected{"ButtonApply", "Button", {140, 100, 75, 25}, L"A&pply"},
           TExpected{"BitBtnOk", "Button", {140, 130, 56, 25}, L"O&k"},
           TExpected{"BitBtnCancel", "Button", {200, 130, 56, 25}, L"Cancel"},
           TExpected{"SpinEditValue", "TSpinEdit", {60, 6, 53, spinHeight}, L"0"},
       }) {
    SCOPED_TRACE(e.Name);
    HWND child = Control(e.Name);
    ASSERT_TRUE(child);
    EXPECT_EQ(GetParent(child), Window);
    EXPECT_EQ(ClassOf(child), e.Class);
    EXPECT_EQ(ChildBounds(child), e.Bounds);
    EXPECT_EQ(TextOf(child), e.Text);
  }
  // Each kind has its window style: a check box that does not check itself,
  // a radio button that does (a real click, unlike a focus notification),
  // owner-drawn glyph buttons, a sorted owner-drawn list of fixed height.
  EXPECT_EQ(GetWindowLongW(Control("CheckBoxFlag"), GWL_STYLE) & BS_TYPEMASK, BS_CHECKBOX);
  EXPECT_EQ(GetWindowLongW(Control("RadioButtonAlpha"), GWL_STYLE) & BS_TYPEMASK,
            BS_AUTORADIOBUTTON);
  EXPECT_EQ(GetWindowLongW(Control("BitBtnOk"), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(GetWindowLongW(Control("ButtonApply"), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  const LONG listStyle = GetWindowLongW(Control("ListBoxItems"), GWL_STYLE);
  EXPECT_TRUE(listStyle & LBS_OWNERDRAWFIXED);
  EXPECT_TRUE(listStyle & LBS_SORT);
  EXPECT_EQ(SendMessageW(Control("ListBoxItems"), LB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_TRUE(GetWindowLongW(Control("SpinEditValue"), GWL_STYLE) & ES_MULTILINE);
  EXPECT_EQ(SendMessageW(Control("RadioButtonAlpha"), BM_GETCHECK, 0, 0), BST_CHECKED);

  // The label sits at its place, sized to its caption in the form's font.
  const TBounds label = ChildBounds(Control("LabelValue"));
  EXPECT_EQ(ClassOf(Control("LabelValue")), "Static");
  EXPECT_EQ(label.Left, 8);
  EXPECT_EQ(label.Top, 10);
  EXPECT_GT(label.Width, 20);
  EXPECT_LT(label.Width, 60);
  EXPECT_GT(label.Height, 8);
  EXPECT_LT(label.Height, 20);
  EXPECT_EQ(TextOf(Control("LabelValue")), L"&Value:");

  // The spin edit's buttons sit at its right edge where the model puts them,
  // and the text's formatting rectangle stops short of them.
  HWND spin = Control("SpinEditValue");
  HWND button = GetWindow(spin, GW_CHILD);
  ASSERT_TRUE(button);
  EXPECT_EQ(ClassOf(button), "TSpinButton");
  const TRect place = Form.SpinEditValue.ButtonBounds(true);
  EXPECT_EQ(ChildBounds(button), (TBounds{place.Left, place.Top, place.Width(), place.Height()}));
  RECT format{};
  SendMessageW(spin, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  EXPECT_LE(format.right, place.Left);
  EXPECT_TRUE(GetWindowLongW(spin, GWL_STYLE) & WS_CLIPCHILDREN);

  // Later controls lie above earlier ones.
  EXPECT_EQ(GetWindow(Window, GW_CHILD), Control("BitBtnCancel"));

  // A picture of the form, to look at.
  Form.ListBoxItems.SetItems({"(none)", "first.bmp", "second.jpg"});
  Form.ListBoxItems.SetItemIndex(1);
  Form.ImagePicture.Picture().SetSize(50, 40);
  Form.ImagePicture.Picture().Fill(RGB(0, 128, 255));
  Form.ImagePicture.Invalidate();
  Show();
  EXPECT_TRUE(SaveBitmap(CaptureWindow(Window), "BindingTest.bmp"));
}

TEST_F(BindingTest, ARealClickChangesTheModelAndRunsItsHandlerOnce) {
  Show();
  HWND flag = Control("CheckBoxFlag");
  ClickCentre(flag);
  EXPECT_TRUE(Form.CheckBoxFlag.Checked());
  EXPECT_EQ(Form.FlagClicks, 1);
  EXPECT_EQ(SendMessageW(flag, BM_GETCHECK, 0, 0), BST_CHECKED);
  ClickCentre(flag);
  EXPECT_FALSE(Form.CheckBoxFlag.Checked());
  EXPECT_EQ(Form.FlagClicks, 2);
  EXPECT_EQ(SendMessageW(flag, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // A radio button: checked by the click, its partner unchecked; clicking a
  // checked one runs nothing.
  ClickCentre(Control("RadioButtonBeta"));
  EXPECT_TRUE(Form.RadioButtonBeta.Checked());
  EXPECT_FALSE(Form.RadioButtonAlpha.Checked());
  EXPECT_EQ(Form.BetaClicks, 1);
  EXPECT_EQ(SendMessageW(Control("RadioButtonBeta"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Control("RadioButtonAlpha"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ClickCentre(Control("RadioButtonBeta"));
  EXPECT_EQ(Form.BetaClicks, 1);
  EXPECT_EQ(Form.AlphaClicks, 0);

  // Push buttons, plain and glyph.
  ClickCentre(Control("ButtonApply"));
  ClickCentre(Control("BitBtnOk"));
  EXPECT_EQ(Form.ApplyClicks, 1);
  EXPECT_EQ(Form.OkClicks, 1);
  // A disabled button takes no click.
  Form.BitBtnOk.SetEnabled(false);
  ClickCentre(Control("BitBtnOk"));
  EXPECT_EQ(Form.OkClicks, 1);
  EXPECT_TRUE(Boxes.Texts.empty());
}

TEST_F(BindingTest, ModelChangesReachTheWindows) {
  Show();
  HWND flag = Control("CheckBoxFlag");
  Form.CheckBoxFlag.SetChecked(true);
  EXPECT_EQ(SendMessageW(flag, BM_GETCHECK, 0, 0), BST_CHECKED);
  Form.CheckBoxFlag.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(flag));
  Form.CheckBoxFlag.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(flag));
  Form.CheckBoxFlag.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(flag));
  Form.CheckBoxFlag.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(flag));
  Form.CheckBoxFlag.SetCaption("&Changed");
  EXPECT_EQ(TextOf(flag), L"&Changed");
  Form.CheckBoxFlag.SetBounds(10, 42, 90, 18);
  EXPECT_EQ(ChildBounds(flag), (TBounds{10, 42, 90, 18}));
  Form.RadioButtonBeta.SetChecked(true);
  EXPECT_EQ(SendMessageW(Control("RadioButtonAlpha"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(Control("RadioButtonBeta"), BM_GETCHECK, 0, 0), BST_CHECKED);

  // A label sized to its caption grows with it.
  const int before = ChildBounds(Control("LabelValue")).Width;
  Form.LabelValue.SetCaption("&Value of the spin edit:");
  EXPECT_GT(ChildBounds(Control("LabelValue")).Width, before + 40);

  // The spin edit shows the model's text.
  Form.SpinEditValue.SetValue(-30);
  EXPECT_EQ(TextOf(Control("SpinEditValue")), L"-30");

  // The list shows the items sorted; indexes stay the model's.
  HWND list = Control("ListBoxItems");
  Form.ListBoxItems.SetItems({"(none)", "zeta.bmp", "alpha.jpg", "Mid.gif"});
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
  auto itemText = [list](int i) {
    wchar_t text[64] = {};
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    return std::wstring(text);
  };
  EXPECT_EQ(itemText(0), L"(none)");
  EXPECT_EQ(itemText(1), L"alpha.jpg");
  EXPECT_EQ(itemText(3), L"zeta.bmp");
  Form.ListBoxItems.SetItemIndex(1);  // "zeta.bmp" in the model
  EXPECT_EQ(itemText(static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0))), L"zeta.bmp");
  EXPECT_EQ(Form.ListClicks, 0) << "setting the index from code runs no handler";
  Form.ListBoxItems.SetItemIndex(-1);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
  // The user's click on the second row picks "alpha.jpg", model index 2.
  Click(list, 20, 13 + 6);
  EXPECT_EQ(Form.ListBoxItems.ItemIndex(), 2);
  EXPECT_EQ(Form.ListClicks, 1);
  Form.ListBoxItems.Clear();
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);

  // Form properties: caption, colour, bounds.
  Form.SetCaption("Renamed");
  EXPECT_EQ(TextOf(Window), L"Renamed");
  Form.SetBounds(20, 30, Form.Width() + 10, Form.Height());
  EXPECT_EQ(OuterBounds(Window), (TBounds{20, 30, Form.Width(), Form.Height()}));
  EXPECT_EQ(ClientSize(Window).cx, 270);
}

TEST_F(BindingTest, LabelsAndCheckMarksTakeTheFormsColours) {
  HDC dc = CreateCompatibleDC(nullptr);
  auto colours = [&](const char* name) {
    const LRESULT brush = SendMessageW(Window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(Control(name)));
    LOGBRUSH info{};
    GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof info, &info);
    return std::make_pair(GetTextColor(dc), info.lbColor);
  };
  Form.SetColor(RGB(10, 20, 30));
  Form.SetFontColor(RGB(200, 100, 50));
  for (const char* name : {"LabelValue", "CheckBoxFlag", "RadioButtonBeta"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(colours(name), std::make_pair(RGB(200, 100, 50), RGB(10, 20, 30)));
  }
  DeleteDC(dc);
}

TEST_F(BindingTest, AnErrorInAHandlerIsReportedAndGoesNoFurther) {
  Show();
  Form.ThrowFromFlag = true;
  ClickCentre(Control("CheckBoxFlag"));
  ASSERT_EQ(Boxes.Texts.size(), 1u);
  EXPECT_EQ(Boxes.Texts[0], "Broken handler");
  EXPECT_TRUE(Form.CheckBoxFlag.Checked()) << "the state the handler had reached stays";
  EXPECT_EQ(SendMessageW(Control("CheckBoxFlag"), BM_GETCHECK, 0, 0), BST_CHECKED);
  // Something that is no std::exception is stopped as well.
  Form.ThrowOddFromApply = true;
  ClickCentre(Control("ButtonApply"));
  ASSERT_EQ(Boxes.Texts.size(), 2u);
  EXPECT_EQ(Boxes.Texts[1], "Unknown error");
  // An error raised while the user types into the spin edit.
  Form.SpinEditValue.OnChange = [](TObject&) { throw Exception("Spin failed"); };
  SetFocus(Control("SpinEditValue"));
  PressKey(VK_UP);
  ASSERT_EQ(Boxes.Texts.size(), 3u);
  EXPECT_EQ(Boxes.Texts[2], "Spin failed");
  EXPECT_EQ(Form.SpinEditValue.Text(), "10");
  // The window still works.
  Form.ThrowFromFlag = false;
  ClickCentre(Control("CheckBoxFlag"));
  EXPECT_FALSE(Form.CheckBoxFlag.Checked());
}

TEST_F(BindingTest, TabFollowsTheTabOrderAndEnterAndEscPressTheirButtons) {
  Show();
  FormWindowOf(Form).FocusFirst();
  EXPECT_EQ(FocusName(), "ButtonApply");
  std::vector<std::string> order;
  for (int i = 0; i < 8; ++i) {
    PressKey(VK_TAB);
    order.push_back(FocusName());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"CheckBoxFlag", "SpinEditValue", "RadioButtonAlpha",
                                             "RadioButtonBeta", "ListBoxItems", "BitBtnOk",
                                             "BitBtnCancel", "ButtonApply"}));
  PressKey(VK_TAB, ssShift);
  EXPECT_EQ(FocusName(), "BitBtnCancel");
  // A disabled control is passed over.
  Form.CheckBoxFlag.SetEnabled(false);
  SetFocus(Control("ButtonApply"));
  PressKey(VK_TAB);
  EXPECT_EQ(FocusName(), "SpinEditValue");
  Form.CheckBoxFlag.SetEnabled(true);

  // Enter presses the default button; on a focused push button, that one.
  SetFocus(Control("CheckBoxFlag"));
  PressKey(VK_RETURN);
  EXPECT_EQ(Form.OkClicks, 1);
  EXPECT_FALSE(Form.CheckBoxFlag.Checked()) << "Enter is no click of the check box";
  SetFocus(Control("ButtonApply"));
  EXPECT_EQ(GetWindowLongW(Control("ButtonApply"), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON)
      << "the focused push button looks like the one Enter presses";
  PressKey(VK_RETURN);
  EXPECT_EQ(Form.ApplyClicks, 1);
  EXPECT_EQ(Form.OkClicks, 1);
  SetFocus(Control("CheckBoxFlag"));
  EXPECT_EQ(GetWindowLongW(Control("ButtonApply"), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  SetFocus(Control("ButtonApply"));
  // Esc presses the cancel button, but not while it is hidden.
  SetFocus(Control("SpinEditValue"));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Form.CancelClicks, 1);
  Form.BitBtnCancel.SetVisible(false);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Form.CancelClicks, 1);
  // Nor Enter while the default button is disabled.
  Form.BitBtnOk.SetEnabled(false);
  PressKey(VK_RETURN);
  EXPECT_EQ(Form.OkClicks, 1);
  Form.BitBtnOk.SetEnabled(true);

  // Hiding the focused control hands the focus on.
  SetFocus(Control("RadioButtonBeta"));
  Form.RadioButtonBeta.SetVisible(false);
  EXPECT_EQ(FocusName(), "ListBoxItems");
  Form.RadioButtonBeta.SetVisible(true);

  // The arrows move between the radio buttons and check them.
  SetFocus(Control("RadioButtonAlpha"));
  PressKey(VK_DOWN);
  EXPECT_EQ(FocusName(), "RadioButtonBeta");
  EXPECT_TRUE(Form.RadioButtonBeta.Checked());

  // Access keys: Alt+letter clicks or checks; a label's focuses its control.
  PressKey('F', ssAlt);
  EXPECT_TRUE(Form.CheckBoxFlag.Checked());
  EXPECT_EQ(FocusName(), "CheckBoxFlag");
  PressKey('V', ssAlt);
  EXPECT_EQ(FocusName(), "SpinEditValue");
  PressKey('A', ssAlt);
  EXPECT_TRUE(Form.RadioButtonAlpha.Checked());
  PressKey('P', ssAlt);
  EXPECT_EQ(Form.ApplyClicks, 2);
  // Without Alt only where the focused control takes no typing.
  SetFocus(Control("SpinEditValue"));
  PressKey('B');
  EXPECT_TRUE(Form.RadioButtonAlpha.Checked());
  SetFocus(Control("CheckBoxFlag"));
  PressKey('B');
  EXPECT_TRUE(Form.RadioButtonBeta.Checked());
}

TEST_F(BindingTest, KeyPreviewSeesEveryKeyWithItsExactShiftState) {
  Show();
  SetFocus(Control("SpinEditValue"));
  PressKey(VK_F1, ssShift);
  PressKey(VK_F1, ssCtrl);
  PressKey(VK_F1, ssShift | ssCtrl);
  PressKey(VK_F1, ssAlt);
  PressKey(VK_F1);
  const std::vector<std::pair<int, TShiftState>> expected{
      {VK_F1, ssShift}, {VK_F1, ssCtrl}, {VK_F1, ssShift | ssCtrl}, {VK_F1, ssAlt}, {VK_F1, 0}};
  EXPECT_EQ(Form.Keys, expected);
  // A key the form sets to 0 never reaches the focused control.
  PressKey(VK_UP, ssCtrl);
  EXPECT_EQ(Form.SpinEditValue.Text(), "0");
  PressKey(VK_UP);
  EXPECT_EQ(Form.SpinEditValue.Text(), "10");
}

TEST_F(BindingTest, ADragOnThePictureReachesTheModelWithItsShiftState) {
  Show();
  HWND picture = Control("ImagePicture");
  PostMouse(picture, WM_LBUTTONDOWN, 10, 12, MK_LBUTTON);
  Pump();
  EXPECT_EQ(GetCapture(), picture) << "the drag keeps the mouse";
  PostMouse(picture, WM_MOUSEMOVE, 30, 40, MK_LBUTTON);
  PostMouse(picture, WM_MOUSEMOVE, 120, -5, MK_LBUTTON);  // outside, still captured
  PostMouse(picture, WM_MOUSEMOVE, 31, 41, MK_LBUTTON | MK_CONTROL);
  PostMouse(picture, WM_MOUSEMOVE, 32, 42, MK_LBUTTON | MK_RBUTTON);
  PostMouse(picture, WM_LBUTTONUP, 32, 42, 0);
  Pump();
  EXPECT_NE(GetCapture(), picture);
  PostMouse(picture, WM_LBUTTONDBLCLK, 5, 6, MK_LBUTTON);
  PostMouse(picture, WM_LBUTTONUP, 5, 6, 0);
  PostMouse(picture, WM_MOUSEMOVE, 7, 8, MK_SHIFT);
  Pump();
  ASSERT_EQ(Form.Mouse.size(), 7u);
  auto expect = [&](std::size_t i, bool down, TShiftState shift, int x, int y) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Form.Mouse[i].Down, down);
    EXPECT_EQ(Form.Mouse[i].Shift, shift);
    EXPECT_EQ(Form.Mouse[i].X, x);
    EXPECT_EQ(Form.Mouse[i].Y, y);
  };
  expect(0, true, ssLeft, 10, 12);
  expect(1, false, ssLeft, 30, 40);
  expect(2, false, ssLeft, 120, -5);
  expect(3, false, ssLeft | ssCtrl, 31, 41);
  expect(4, false, ssLeft | ssRight, 32, 42);
  expect(5, true, ssLeft | ssDouble, 5, 6);
  expect(6, false, ssShift, 7, 8);
  // Alt comes from the keyboard's state.
  {
    TModifiers alt(ssAlt);
    PostMouse(picture, WM_MOUSEMOVE, 9, 9, MK_LBUTTON);
    Pump();
  }
  ASSERT_EQ(Form.Mouse.size(), 8u);
  EXPECT_EQ(Form.Mouse[7].Shift, ssLeft | ssAlt);
  PostMouse(picture, WM_LBUTTONUP, 9, 9, 0);
  Pump();
}

TEST_F(BindingTest, ThePictureIsScaledWithFiltering) {
  // Fine black and white stripes, reduced to half: filtered they average to
  // grey; dropping pixels would leave black or white.
  TPixelBuffer& picture = Form.ImagePicture.Picture();
  picture.SetSize(200, 160);
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 200; ++x)
      picture.SetPixel(x, y, x < 100 ? (x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0)) : RGB(0, 0, 255));
  Form.ImagePicture.Invalidate();
  Show();
  const TCapture shot = CaptureWindow(Control("ImagePicture"));
  ASSERT_EQ(shot.Width, 100);
  const std::uint32_t stripes = shot.At(25, 40);
  const unsigned grey = (stripes >> 8) & 0xFF;
  EXPECT_GT(grey, 60u) << std::hex << stripes;
  EXPECT_LT(grey, 200u) << std::hex << stripes;
  EXPECT_EQ(shot.At(75, 40), 0x0000FFu) << "blue at 0x00RRGGBB";
  // A new picture shows once the model says so.
  picture.Fill(RGB(0, 255, 0));
  Form.ImagePicture.Invalidate();
  EXPECT_EQ(CaptureWindow(Control("ImagePicture")).At(50, 40), 0x00FF00u);
}

TEST_F(BindingTest, SpinEditStepsByArrowKeysAndButtons) {
  Show();
  HWND spin = Control("SpinEditValue");
  HWND button = GetWindow(spin, GW_CHILD);
  SetFocus(Control("ButtonApply"));
  PressKey(VK_TAB);
  PressKey(VK_TAB);
  ASSERT_EQ(GetFocus(), spin);
  DWORD first = 0, last = 0;
  SendMessageW(spin, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
  EXPECT_EQ(first, 0u);
  EXPECT_EQ(last, 1u) << "entered by keyboard: all selected";
  PressKey(VK_UP);
  EXPECT_EQ(TextOf(spin), L"10");
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  EXPECT_EQ(Form.SpinEditValue.Value(), -10);
  EXPECT_EQ(Form.SpinChanges, 3);

  // Typing: digits go in, letters are dropped with a beep.
  SendMessageW(spin, EM_SETSEL, 0, -1);
  TypeText(L"5x");
  EXPECT_EQ(TextOf(spin), L"5");
  EXPECT_EQ(Form.SpinEditValue.Text(), "5");
  EXPECT_EQ(System.Beeps, 1);
  // Pasting is refused while the editor is disabled.
  Form.SpinEditValue.EditorEnabled = false;
  SendMessageW(spin, EM_SETSEL, 0, -1);
  SendMessageW(spin, WM_CUT, 0, 0);
  EXPECT_EQ(TextOf(spin), L"5");
  Form.SpinEditValue.EditorEnabled = true;

  // The buttons: a click on the upper part steps up once, on the lower part down.
  const TRect up = Form.SpinEditValue.Button.PartBounds(TSpinPart::Up);
  const TRect down = Form.SpinEditValue.Button.PartBounds(TSpinPart::Down);
  SetFocus(Control("ButtonApply"));
  Click(button, up.Left + 5, up.Top + 3);
  EXPECT_EQ(Form.SpinEditValue.Value(), 15);
  EXPECT_EQ(GetFocus(), spin) << "a press focuses the edit";
  Click(button, down.Left + 5, down.Bottom - 3);
  Click(button, down.Left + 5, down.Bottom - 3);
  EXPECT_EQ(Form.SpinEditValue.Value(), -5);
  EXPECT_NE(GetCapture(), button);
  // Released away from the part: no step.
  PostMouse(button, WM_LBUTTONDOWN, up.Left + 5, up.Top + 3, MK_LBUTTON);
  PostMouse(button, WM_LBUTTONUP, up.Left + 5, 40, 0);
  Pump();
  EXPECT_EQ(Form.SpinEditValue.Value(), -5);

  // Held down it repeats: the first repeat 400 ms after the press, then one
  // every 100 ms, and the release over the part adds one more.
  PostMouse(button, WM_LBUTTONDOWN, up.Left + 5, up.Top + 3, MK_LBUTTON);
  Pump(300);
  EXPECT_EQ(Form.SpinEditValue.Value(), -5) << "no repeat before 400 ms";
  Pump(450);
  const int repeated = (Form.SpinEditValue.Value() + 5) / 10;
  EXPECT_GE(repeated, 2);
  EXPECT_LE(repeated, 5);
  PostMouse(button, WM_LBUTTONUP, up.Left + 5, up.Top + 3, 0);
  Pump();
  EXPECT_EQ((Form.SpinEditValue.Value() + 5) / 10, repeated + 1);
  Pump(300);
  EXPECT_EQ((Form.SpinEditValue.Value() + 5) / 10, repeated + 1) << "the timer stopped";

  // A lost capture stops the repeat too.
  const int before = Form.SpinEditValue.Value();
  PostMouse(button, WM_LBUTTONDOWN, up.Left + 5, up.Top + 3, MK_LBUTTON);
  Pump();
  ReleaseCapture();
  Pump(600);
  EXPECT_EQ(Form.SpinEditValue.Value(), before);

  // Never lower than its minimum height: the model learns the real height.
  Form.SpinEditValue.SetBounds(60, 6, 53, 10);
  EXPECT_GE(ChildBounds(spin).Height, 20);
  EXPECT_EQ(Form.SpinEditValue.Height(), ChildBounds(spin).Height);
}

TEST_F(BindingTest, TheFrameGoesAndComesBack) {
  Show();
  const TBounds dialog = OuterBounds(Window);
  const int frameWidth = Form.FrameWidth;
  const int frameHeight = Form.FrameHeight;
  EXPECT_EQ(dialog.Width - frameWidth, 260);
  EXPECT_EQ(dialog.Height - frameHeight, 170);

  // Without a frame, at the screen's size: the client area is the window.
  Form.SetBorderStyle(TBorderStyle::bsNone);
  Form.SetBounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_FALSE(GetWindowLongW(Window, GWL_STYLE) & WS_CAPTION);
  EXPECT_FALSE(GetWindowLongW(Window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(OuterBounds(Window),
            (TBounds{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  EXPECT_EQ(ClientSize(Window).cx, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(ClientSize(Window).cy, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(Form.ClientWidth(), GetSystemMetrics(SM_CXSCREEN));

  // The dialog frame again, at the old place and size.
  Form.SetBorderStyle(TBorderStyle::bsDialog);
  Form.SetBounds(dialog.Left, dialog.Top, dialog.Width, dialog.Height);
  EXPECT_TRUE(GetWindowLongW(Window, GWL_STYLE) & WS_CAPTION);
  EXPECT_TRUE(GetWindowLongW(Window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(OuterBounds(Window), dialog);
  EXPECT_EQ(ClientSize(Window).cx, 260);
  EXPECT_EQ(ClientSize(Window).cy, 170);
  EXPECT_EQ(Form.ClientWidth(), 260);

  // Moved by the user, the model follows.
  SetWindowPos(Window, nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Form.Left(), 33);
  EXPECT_EQ(Form.Top(), 44);
}

TEST_F(BindingTest, SystemMenuCommandsAndClosingEndTheModalRun) {
  Form.AppendSystemMenu(901, "&First\tShift+F1");
  Form.AppendSystemMenu(902, "Se&cond");
  HMENU menu = GetSystemMenu(Window, FALSE);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 3);
  wchar_t text[64] = {};
  GetMenuStringW(menu, count - 2, text, 64, MF_BYPOSITION);
  EXPECT_EQ(std::wstring(text), L"&First\tShift+F1");
  EXPECT_EQ(GetMenuItemID(menu, count - 2), 901u);
  EXPECT_EQ(GetMenuItemID(menu, count - 1), 902u);
  EXPECT_EQ(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_DISABLED, 0u);
  EXPECT_EQ(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND), 0xFFFFFFFFu) << "no maximize item";

  // The form sees each command exactly, after the system's handling.
  SendMessageW(Window, WM_SYSCOMMAND, 902, 0);
  SendMessageW(Window, WM_SYSCOMMAND, 903, 0);
  EXPECT_EQ(Form.Commands, (std::vector<unsigned>{902, 903}));

  // The system menu's Close ends the modal run, the owner enabled again.
  HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               nullptr, nullptr, nullptr, nullptr);
  FormHost().Release(Form);
  Form.ParentWindow = reinterpret_cast<std::uintptr_t>(owner);
  Window = CreateFormWindow(Form);
  EXPECT_EQ(GetWindow(Window, GW_OWNER), owner);
  PostMessageW(Window, WM_SYSCOMMAND, SC_CLOSE, 0);
  FormHost().ShowModal(Form);
  EXPECT_EQ(Form.CloseQueries, 1);
  EXPECT_FALSE(Form.OwnerEnabledAtClose) << "the owner is disabled during the run";
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(IsWindowVisible(Window));
  EXPECT_FALSE(Application().Terminated()) << "closing is no end request";

  // The end request of a handler ends it too, here from Enter.
  Form.TerminateOnOk = true;
  PostMessageW(Control("ListBoxItems"), WM_KEYDOWN, VK_RETURN, 1);
  FormHost().ShowModal(Form);
  EXPECT_EQ(Form.OkClicks, 1);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(Form.CloseQueries, 1);
  DestroyWindow(owner);
}

TEST_F(BindingTest, ASecondFormRunsOverTheFirstUntilItsModalResult) {
  TTestForm second;
  second.SetCaption("Second");
  HWND secondOwner = nullptr;
  bool firstDisabled = false;
  second.BitBtnOk.OnClick = [&](TObject&) {
    firstDisabled = !IsWindowEnabled(Window);
    second.ModalResult = mrOk;
  };
  int resultSeen = -1;
  Form.ButtonApply.OnClick = [&](TObject&) {
    // Opened from the running form, without an owner of its own.
    HWND window = CreateFormWindow(second);
    secondOwner = GetWindow(window, GW_OWNER);
    PostMessageW(FindControlWindow(second, "ListBoxItems"), WM_KEYDOWN, VK_RETURN, 1);
    FormHost().ShowModal(second);
    resultSeen = second.ModalResult;
    FormHost().Release(second);
    // The first form's run goes on until its own end.
    PostMessageW(Window, WM_SYSCOMMAND, SC_CLOSE, 0);
  };
  PostMessageW(Control("ButtonApply"), WM_KEYDOWN, VK_RETURN, 1);
  FormHost().ShowModal(Form);
  EXPECT_EQ(secondOwner, Window);
  EXPECT_TRUE(firstDisabled);
  EXPECT_EQ(resultSeen, mrOk);
  EXPECT_TRUE(IsWindowEnabled(Window));
  EXPECT_EQ(Form.CloseQueries, 1);
  EXPECT_EQ(Form.ModalResult, mrCancel) << "the close box's result";
  EXPECT_FALSE(Application().Terminated());
}

struct TTooltipSearch {
  HWND Owner;
  HWND Tooltip = nullptr;
};

BOOL CALLBACK FindTooltip(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TTooltipSearch*>(data);
  if (ClassOf(window) == "tooltips_class32" && GetWindow(window, GW_OWNER) == search->Owner)
    search->Tooltip = window;
  return TRUE;
}

TEST_F(BindingTest, HintsAndHelpComeFromTheControls) {
  // One tool per window with a hint, the spin edit's buttons included,
  // showing the hint's short part.
  TTooltipSearch find{Window};
  EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&find));
  ASSERT_TRUE(find.Tooltip);
  EXPECT_EQ(SendMessageW(find.Tooltip, TTM_GETTOOLCOUNT, 0, 0), 11);
  wchar_t text[80] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = Window;
  tool.uId = reinterpret_cast<UINT_PTR>(Control("ImagePicture"));
  tool.lpszText = text;
  SendMessageW(find.Tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(text), L"The picture");

  // A help request names the control's help number.
  Form.CheckBoxFlag.SetHelpContext(42);
  HELPINFO info{};
  info.cbSize = sizeof info;
  info.iContextType = HELPINFO_WINDOW;
  info.hItemHandle = Control("CheckBoxFlag");
  EXPECT_TRUE(SendMessageW(Window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)));
  ASSERT_EQ(Form.HelpRequests.size(), 1u);
  EXPECT_EQ(Form.HelpRequests[0], (std::pair<unsigned, int>{HELP_CONTEXT, 42}));
}

TEST_F(BindingTest, ReleaseUnbindsEveryControl) {
  FormHost().Release(Form);
  EXPECT_FALSE(IsWindow(Window));
  for (TControl* control : Form.Controls()) EXPECT_FALSE(control->OnStateChanged) << control->Name();
  EXPECT_FALSE(Form.OnStateChanged);
  // The models go on without windows.
  Form.CheckBoxFlag.SetChecked(true);
  Form.SpinEditValue.SetValue(20);
  Form.SetCaption("No window");
  EXPECT_FALSE(FindControlWindow(Form, "CheckBoxFlag"));
}

}  // namespace
}  // namespace bx
