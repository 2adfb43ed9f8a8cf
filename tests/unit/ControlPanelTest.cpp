#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "applet/ControlPanel.h"
#include "binding/portable/PortableEnvironment.h"
#include "dialogs/main/BXMain.h"
#include "platform/Errors.h"

namespace bx {
namespace {

constexpr std::uintptr_t kIcon = 0x5A5A;
constexpr std::uintptr_t kCplWindow = 0x10086;

// A dialog that counts its lives and remembers its parent.
class TTestForm : public TForm {
 public:
  explicit TTestForm(std::uintptr_t parent) {
    ParentWindow = parent;
    SetCaption("Control Panel - Bexora");
    ++Alive;
    ++Created;
    if (OnCreate) OnCreate();
  }
  ~TTestForm() override { --Alive; }
  static inline int Alive = 0;
  static inline int Created = 0;
  // Runs inside the creation, as an error box of FormCreate would.
  static inline std::function<void()> OnCreate;
};

class ControlPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TTestForm::Alive = 0;
    TTestForm::Created = 0;
    TTestForm::OnCreate = nullptr;
    Application().ClearTerminate();
    RegisterApplets(kIcon, [this](std::uintptr_t parent) -> std::unique_ptr<TForm> {
      if (FailCreation) throw Exception("Cannot create the dialog");
      return std::make_unique<TTestForm>(parent);
    });
  }
  void TearDown() override {
    Message(kCplExit);
    EXPECT_EQ(TTestForm::Alive, 0);
  }
  long Message(unsigned msg, std::intptr_t applet = 0, TCplDescription* record = nullptr,
               std::uintptr_t window = kCplWindow) {
    return ControlPanelMessage(window, msg, applet, record);
  }

  TPortableEnvironment Env;
  bool FailCreation = false;
};

TEST_F(ControlPanelTest, DescribesTheOneApplet) {
  EXPECT_EQ(ControlPanelWindow, 0u);
  EXPECT_EQ(Message(kCplInit), 1);
  EXPECT_EQ(ControlPanelWindow, kCplWindow);
  EXPECT_EQ(Message(kCplGetCount), 1);

  TCplDescription record;
  EXPECT_EQ(Message(kCplNewInquire, 0, &record), 0);
  EXPECT_TRUE(record.Described);
  EXPECT_EQ(record.Icon, kIcon);
  EXPECT_EQ(record.Name, "Bexora");
  EXPECT_EQ(record.Info, "Change windows wallpaper settings");
  EXPECT_EQ(Message(kCplNewInquire, 0, nullptr), 0);

  ASSERT_NE(GetApplet(0), nullptr);
  EXPECT_EQ(GetApplet(0)->Name, "Bexora");
  EXPECT_EQ(GetApplet(1), nullptr);
  EXPECT_EQ(GetApplet(-1), nullptr);
  EXPECT_EQ(TTestForm::Created, 0);
}

TEST_F(ControlPanelTest, IgnoredMessagesAnswerZeroAndChangeNothing) {
  Message(kCplInit);
  TCplDescription untouched;
  untouched.Name = "kept";
  for (unsigned msg : {kCplInquire, kCplStop, 0u, 9u, 10u, 200u}) {
    SCOPED_TRACE(msg);
    EXPECT_EQ(Message(msg, 0, &untouched, 0x999), 0);
  }
  EXPECT_FALSE(untouched.Described);
  EXPECT_EQ(untouched.Name, "kept");
  EXPECT_EQ(ControlPanelWindow, kCplWindow);
  EXPECT_EQ(Message(kCplGetCount), 1);
  EXPECT_EQ(TTestForm::Created, 0);
  EXPECT_TRUE(Env.System().BeepCalls.empty());
  EXPECT_TRUE(Env.MessageBoxes().Messages.empty());
  EXPECT_TRUE(Env.FormHost().Calls.empty());
}

TEST_F(ControlPanelTest, SelectBeeps) {
  EXPECT_EQ(Message(kCplSelect), 0);
  ASSERT_EQ(Env.System().BeepCalls.size(), 1u);
  EXPECT_EQ(Env.System().BeepCalls[0], (TBeepCall{440, 100}));
  EXPECT_EQ(TTestForm::Created, 0);
}

TEST_F(ControlPanelTest, EachDoubleClickCreatesRunsAndDestroysOneDialog) {
  Message(kCplInit);
  std::vector<std::string> captions;
  std::vector<std::uintptr_t> parents;
  Env.FormHost().OnShowModal = [&](TForm& form) {
    EXPECT_NE(dynamic_cast<TTestForm*>(&form), nullptr);
    EXPECT_EQ(TTestForm::Alive, 1);
    captions.push_back(form.Caption());
    parents.push_back(form.ParentWindow);
  };
  EXPECT_EQ(Message(kCplDblClk, 0), 0);
  EXPECT_EQ(TTestForm::Alive, 0);
  EXPECT_EQ(Message(kCplDblClk, 0, nullptr, 0x777), 0);
  EXPECT_EQ(TTestForm::Alive, 0);
  EXPECT_EQ(TTestForm::Created, 2);

  EXPECT_EQ(captions, (std::vector<std::string>{"Bexora", "Bexora"}));
  // The parent is the window of CPL_INIT, not the one a later message names.
  EXPECT_EQ(parents, (std::vector<std::uintptr_t>{kCplWindow, kCplWindow}));
  const auto& calls = Env.FormHost().Calls;
  ASSERT_EQ(calls.size(), 4u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(calls[2 * i].Kind, TFormHostCall::ShowModal);
    EXPECT_EQ(calls[2 * i + 1].Kind, TFormHostCall::Release);
    EXPECT_EQ(calls[2 * i].Form, calls[2 * i + 1].Form);
  }
}

TEST_F(ControlPanelTest, OpeningsAfterAnEndRequestBothRun) {
  Message(kCplInit);
  Application().Terminate();  // left standing by an earlier OK
  std::vector<bool> terminatedAtStart;
  Env.FormHost().OnShowModal = [&](TForm&) {
    terminatedAtStart.push_back(Application().Terminated());
    Application().Terminate();  // this run ends by OK as well
  };
  Message(kCplDblClk);
  Message(kCplDblClk);
  EXPECT_EQ(terminatedAtStart, (std::vector<bool>{false, false}));
  EXPECT_EQ(Env.FormHost().ShowModalCount(), 2);
}

TEST_F(ControlPanelTest, DoubleClickBeforeInitHasNoParent) {
  std::uintptr_t parent = 1;
  Env.FormHost().OnShowModal = [&](TForm& form) { parent = form.ParentWindow; };
  EXPECT_EQ(Message(kCplDblClk, 0, nullptr, kCplWindow), 0);
  EXPECT_EQ(parent, 0u);
  EXPECT_EQ(TTestForm::Created, 1);
}

TEST_F(ControlPanelTest, AppletNumbersOutOfRangeDoNothing) {
  Message(kCplInit);
  for (std::intptr_t applet : {std::intptr_t{1}, std::intptr_t{-1}, std::intptr_t{1000},
                               std::intptr_t{INTPTR_MIN}}) {
    SCOPED_TRACE(applet);
    TCplDescription record;
    record.Name = "kept";
    EXPECT_EQ(Message(kCplNewInquire, applet, &record), 0);
    EXPECT_FALSE(record.Described);
    EXPECT_EQ(record.Name, "kept");
    EXPECT_EQ(Message(kCplDblClk, applet), 0);
  }
  EXPECT_EQ(TTestForm::Created, 0);
  EXPECT_TRUE(Env.FormHost().Calls.empty());
  EXPECT_TRUE(Env.MessageBoxes().Messages.empty());
}

TEST_F(ControlPanelTest, ErrorsOfTheDialogAreShownAndTheDialogIsDestroyed) {
  Message(kCplInit);
  Env.FormHost().OnShowModal = [](TForm&) { throw Exception("Failed to get data for 'X'"); };
  EXPECT_EQ(Message(kCplDblClk), 0);
  EXPECT_EQ(TTestForm::Created, 1);
  EXPECT_EQ(TTestForm::Alive, 0);
  ASSERT_EQ(Env.FormHost().Calls.size(), 2u);
  EXPECT_EQ(Env.FormHost().Calls[1].Kind, TFormHostCall::Release);

  FailCreation = true;
  EXPECT_EQ(Message(kCplDblClk), 0);
  EXPECT_EQ(Env.FormHost().Calls.size(), 2u);  // nothing to show or release

  const auto& shown = Env.MessageBoxes().Messages;
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Text, "Failed to get data for 'X'");
  EXPECT_EQ(shown[0].Type, TMsgDlgType::mtError);
  EXPECT_EQ(shown[1].Text, "Cannot create the dialog");

  // The host still works afterwards.
  FailCreation = false;
  Env.FormHost().OnShowModal = nullptr;
  EXPECT_EQ(Message(kCplDblClk), 0);
  EXPECT_EQ(TTestForm::Created, 2);
}

TEST_F(ControlPanelTest, MessagesDuringTheModalRunAreSafe) {
  Message(kCplInit);
  Env.FormHost().OnShowModal = [&](TForm&) {
    // The Control Panel's window receives a second double click while the
    // dialog runs: no second dialog.
    EXPECT_EQ(Message(kCplDblClk), 0);
    EXPECT_EQ(TTestForm::Created, 1);
    // The Control Panel lets go of the module while the dialog runs.
    EXPECT_EQ(Message(kCplExit), 0);
  };
  Message(kCplDblClk);
  EXPECT_EQ(TTestForm::Alive, 0);
  EXPECT_EQ(Env.FormHost().ShowModalCount(), 1);
  EXPECT_EQ(Applets, nullptr);

  // A double click while the dialog is still being made (its creation shows
  // an error box, whose loop lets the message in) opens no second dialog.
  RegisterApplets(kIcon, [](std::uintptr_t parent) -> std::unique_ptr<TForm> {
    return std::make_unique<TTestForm>(parent);
  });
  Env.FormHost().OnShowModal = nullptr;
  TTestForm::OnCreate = [&] {
    TTestForm::OnCreate = nullptr;
    EXPECT_EQ(Message(kCplDblClk), 0);
  };
  Message(kCplDblClk);
  EXPECT_EQ(TTestForm::Created, 2);
  EXPECT_EQ(TTestForm::Alive, 0);
  EXPECT_EQ(Env.FormHost().ShowModalCount(), 2);
}

TEST_F(ControlPanelTest, ExitReleasesTheList) {
  Message(kCplInit);
  EXPECT_EQ(Message(kCplExit), 0);
  EXPECT_EQ(Applets, nullptr);
  EXPECT_EQ(GetApplet(0), nullptr);
  // Nothing reaches the module after CPL_EXIT; if something does, it finds
  // no applet and touches nothing.
  EXPECT_EQ(Message(kCplGetCount), 0);
  TCplDescription record;
  EXPECT_EQ(Message(kCplNewInquire, 0, &record), 0);
  EXPECT_FALSE(record.Described);
  EXPECT_EQ(Message(kCplDblClk), 0);
  EXPECT_EQ(TTestForm::Created, 0);
  EXPECT_EQ(Message(kCplExit), 0);
}

TEST(ControlApplet, CreateAndRegister) {
  auto applet = TControlApplet::Create([](std::uintptr_t) { return nullptr; });
  EXPECT_TRUE(applet->Name.empty());
  EXPECT_TRUE(applet->Description.empty());
  EXPECT_EQ(applet->Icon, 0u);
  ASSERT_TRUE(applet->FormClass);
  RegisterApplets(1, [](std::uintptr_t) { return nullptr; });
  TControlApplet* raw = applet.get();
  TControlApplet::Register(std::move(applet));
  EXPECT_EQ(GetApplet(1), raw);
  EXPECT_EQ(ControlPanelMessage(0, kCplGetCount, 0, nullptr), 2);
  // A dialog class that makes no dialog opens nothing.
  TPortableEnvironment env;
  EXPECT_EQ(ControlPanelMessage(0, kCplDblClk, 1, nullptr), 0);
  EXPECT_TRUE(env.FormHost().Calls.empty());
  ControlPanelMessage(0, kCplExit, 0, nullptr);
}

// The module start with the real main dialog: the environment check first,
// then the one applet, whose opening runs a TFrmBXMain that reads the
// settings afresh each time.
TEST(ModuleStart, ChecksTheEnvironmentThenRegistersTheMainDialog) {
  TPortableEnvironment env;
  Application().ClearTerminate();
  env.System().Windows95OrNT = false;
  ModuleStart(kIcon);
  ASSERT_EQ(env.MessageBoxes().Messages.size(), 1u);
  EXPECT_TRUE(env.MessageBoxes().Messages[0].Simple);
  EXPECT_EQ(env.MessageBoxes().Messages[0].Text, "This program requires Windows 95/NT");
  EXPECT_EQ(env.System().EndProgramCalls, 1);
  EXPECT_EQ(ControlPanelMessage(kCplWindow, kCplInit, 0, nullptr), 1);
  EXPECT_EQ(ControlPanelMessage(kCplWindow, kCplGetCount, 0, nullptr), 1);
  TCplDescription record;
  ControlPanelMessage(kCplWindow, kCplNewInquire, 0, &record);
  EXPECT_EQ(record.Icon, kIcon);
  EXPECT_EQ(record.Name, "Bexora");
  EXPECT_EQ(record.Info, "Change windows wallpaper settings");

  std::vector<TFrmBXMain*> dialogs;
  env.FormHost().OnShowModal = [&](TForm& form) {
    auto* dialog = dynamic_cast<TFrmBXMain*>(&form);
    ASSERT_NE(dialog, nullptr);
    dialogs.push_back(dialog);
    EXPECT_FALSE(Application().Terminated());
    EXPECT_EQ(dialog->Caption(), "Bexora");
    EXPECT_EQ(dialog->ParentWindow, kCplWindow);
    EXPECT_FALSE(dialog->BitBtnOk.Enabled());  // a fresh dialog, as FormCreate leaves it
    dialog->BitBtnCancel.Click();              // ends the run with the module-wide request
  };
  ControlPanelMessage(kCplWindow, kCplDblClk, 0, nullptr);
  ControlPanelMessage(kCplWindow, kCplDblClk, 0, nullptr);
  EXPECT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(env.FormHost().ShowModalCount(), 2);
  EXPECT_EQ(ControlPanelMessage(kCplWindow, kCplExit, 0, nullptr), 0);
  Application().ClearTerminate();
}

TEST(ModuleStart, OnWindowsStartsQuietly) {
  TPortableEnvironment env;
  ModuleStart(kIcon);
  EXPECT_TRUE(env.MessageBoxes().Messages.empty());
  EXPECT_EQ(env.System().EndProgramCalls, 0);
  EXPECT_EQ(ControlPanelMessage(0, kCplGetCount, 0, nullptr), 1);
  ControlPanelMessage(0, kCplExit, 0, nullptr);
}

}  // namespace
}  // namespace bx
