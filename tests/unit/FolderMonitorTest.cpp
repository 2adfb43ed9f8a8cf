// The folder monitor against real changes of real folders (inotify), with
// its reports run and its delay timed by the test, which stands for the
// dialog's message loop.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <memory>

#include "binding/portable/PortableEnvironment.h"
#include "components/FolderNotify.h"
#include "platform/Errors.h"

namespace bx {
namespace {

using namespace std::chrono_literals;

class FolderMonitorTest : public ::testing::Test {
 protected:
  static constexpr const char* kFolder = "C:\\Pictures";
  static constexpr const char* kOther = "C:\\Other";

  FolderMonitorTest() {
    Files().CreateDirectory(kFolder);
    Files().CreateDirectory(kOther);
  }

  // Declared first: the monitors go before the services they use.
  TPortableEnvironment Env;

  TPortableFiles& Files() { return Env.Files(); }
  TManualDispatch& Dispatch() { return Env.Dispatch(); }

  std::unique_ptr<TFolderMonitor> Make(const std::string& folder, std::uint32_t delay) {
    auto monitor = std::make_unique<TFolderMonitor>();
    monitor->SetDelayTime(delay);
    monitor->SetMonitorSubtree(false);
    monitor->SetFolderName(folder);
    monitor->OnChange = [this](TObject&) { ++Changes; };
    monitor->SetActive(true);
    return monitor;
  }

  void Touch(const std::string& path) { Files().WriteTextFile(path, "x"); }

  // Runs the reports that arrive until none came for `quiet`; how many ran.
  int Pump(std::chrono::milliseconds quiet = 150ms) {
    int reports = 0;
    while (Dispatch().WaitForCall(quiet)) reports += Dispatch().ProcessCalls();
    return reports;
  }
  // Waits for the first report of a change and runs the rest.
  int PumpChange() { return Dispatch().WaitForCall(3s) ? Pump() : 0; }

  int Changes = 0;
};

TEST_F(FolderMonitorTest, BurstsMergeIntoOneChangeAfterTheDelay) {
  auto monitor = Make(kFolder, 10);
  ASSERT_TRUE(monitor->Active());
  for (const char* name : {"a.jpg", "b.jpg", "c.gif"})
    Touch(std::string(kFolder) + "\\" + name);
  EXPECT_GE(PumpChange(), 1);
  // However many reports came, one change waits for its delay.
  EXPECT_EQ(Changes, 0);
  EXPECT_TRUE(monitor->DelayPending());
  Dispatch().Advance(9);
  EXPECT_EQ(Changes, 0);
  Dispatch().Advance(1);
  EXPECT_EQ(Changes, 1);
  EXPECT_FALSE(monitor->DelayPending());

  // A report after the timer fired starts a new delay; one that comes while
  // it is pending does not restart it.
  Touch(std::string(kFolder) + "\\d.bmp");
  EXPECT_GE(PumpChange(), 1);
  Dispatch().Advance(6);
  Files().DeleteFile(std::string(kFolder) + "\\a.jpg");
  EXPECT_GE(PumpChange(), 1);
  Dispatch().Advance(4);
  EXPECT_EQ(Changes, 2);

  // Without a delay every report is a change of its own.
  monitor->SetDelayTime(0);
  Touch(std::string(kFolder) + "\\e.bmp");
  const int reports = PumpChange();
  EXPECT_GE(reports, 1);
  EXPECT_EQ(Changes, 2 + reports);
}

TEST_F(FolderMonitorTest, DelayTimeChangedWhileAReportIsPending) {
  auto monitor = Make(kFolder, 10);
  Touch(std::string(kFolder) + "\\a.jpg");
  ASSERT_GE(PumpChange(), 1);
  // A new interval counts from now.
  monitor->SetDelayTime(50);
  Dispatch().Advance(49);
  EXPECT_EQ(Changes, 0);
  Dispatch().Advance(1);
  EXPECT_EQ(Changes, 1);

  // 0 drops the pending report.
  Touch(std::string(kFolder) + "\\b.jpg");
  ASSERT_GE(PumpChange(), 1);
  ASSERT_TRUE(monitor->DelayPending());
  monitor->SetDelayTime(0);
  EXPECT_FALSE(monitor->DelayPending());
  Dispatch().Advance(1000);
  EXPECT_EQ(Changes, 1);
}

TEST_F(FolderMonitorTest, FolderNameRestartsTheWatchOnlyWhenTheTextChanges) {
  auto monitor = Make(kFolder, 0);
  const int started = Dispatch().ThreadsStarted();
  monitor->SetFolderName(kFolder);
  EXPECT_EQ(Dispatch().ThreadsStarted(), started);
  // The same folder in other letters is another text: a new watch.
  monitor->SetFolderName("c:\\Pictures");
  EXPECT_EQ(Dispatch().ThreadsStarted(), started + 1);
  EXPECT_TRUE(monitor->Active());

  // Another folder: the old one is no longer watched.
  monitor->SetFolderName(kOther);
  EXPECT_TRUE(monitor->Active());
  Touch(std::string(kFolder) + "\\a.jpg");
  EXPECT_EQ(Pump(300ms), 0);
  EXPECT_EQ(Changes, 0);
  Touch(std::string(kOther) + "\\a.jpg");
  EXPECT_GE(PumpChange(), 1);
  EXPECT_GE(Changes, 1);

  // A folder that does not exist, or a file: inactive, silently.
  monitor->SetFolderName("C:\\Missing");
  EXPECT_FALSE(monitor->Active());
  monitor->SetFolderName(std::string(kFolder) + "\\a.jpg");
  EXPECT_FALSE(monitor->Active());
  // Still set active: the next folder that exists is watched.
  monitor->SetFolderName(kFolder);
  EXPECT_TRUE(monitor->Active());
  monitor->SetActive(false);
  EXPECT_FALSE(monitor->Active());
  monitor->SetFolderName(kOther);
  EXPECT_FALSE(monitor->Active());
  EXPECT_TRUE(Dispatch().WaitForThreads(3s));
}

TEST_F(FolderMonitorTest, SubfoldersCountOnlyWithMonitorSubtree) {
  Files().CreateDirectory(std::string(kFolder) + "\\Sub");
  auto monitor = Make(kFolder, 0);
  Touch(std::string(kFolder) + "\\Sub\\a.jpg");
  EXPECT_EQ(Pump(300ms), 0);
  monitor->SetMonitorSubtree(true);
  Touch(std::string(kFolder) + "\\Sub\\b.jpg");
  EXPECT_GE(PumpChange(), 1);
  // A folder made after the start is watched too.
  Files().CreateDirectory(std::string(kFolder) + "\\Sub\\New");
  Pump();
  Changes = 0;
  Touch(std::string(kFolder) + "\\Sub\\New\\c.jpg");
  EXPECT_GE(PumpChange(), 1);
  EXPECT_GE(Changes, 1);
}

TEST_F(FolderMonitorTest, DestructionNeverWaitsForTheThread) {
  // While the thread waits for a change.
  auto monitor = Make(kFolder, 10);
  monitor.reset();
  EXPECT_TRUE(Dispatch().WaitForThreads(3s));

  // While a report is on its way: it is dropped and the thread ends.
  monitor = Make(kFolder, 10);
  Touch(std::string(kFolder) + "\\a.jpg");
  ASSERT_TRUE(Dispatch().WaitForCall(3s));
  monitor.reset();
  EXPECT_TRUE(Dispatch().WaitForThreads(3s));
  EXPECT_EQ(Dispatch().ProcessCalls(), 0);
  EXPECT_EQ(Changes, 0);

  // While a delayed report is pending: it is dropped with the monitor.
  monitor = Make(kFolder, 10);
  Touch(std::string(kFolder) + "\\b.jpg");
  ASSERT_GE(PumpChange(), 1);
  ASSERT_EQ(Dispatch().PendingTimers(), 1);
  monitor.reset();
  EXPECT_EQ(Dispatch().PendingTimers(), 0);
  Dispatch().Advance(100);
  EXPECT_EQ(Changes, 0);
  EXPECT_TRUE(Dispatch().WaitForThreads(3s));

  // A report made just as the monitor lets go: the thread is held between
  // its look at the termination and its hand-over until the monitor has
  // let go. Its report is not queued, and it ends while the dialog's
  // thread runs nothing (it may never pump again).
  struct THeldDispatch : IThreadDispatch {
    explicit THeldDispatch(IThreadDispatch& real) : Real(real) {}
    bool Synchronize(const void* sender, const std::function<void()>& call,
                     const std::atomic<bool>* released) override {
      if (!Held.exchange(true)) {
        AtHandOver.set_value();
        Go.wait();
      }
      return Real.Synchronize(sender, call, released);
    }
    void DropCalls(const void* sender) override { Real.DropCalls(sender); }
    TTimerId StartTimer(std::uint32_t ms, std::function<void()> handler) override {
      return Real.StartTimer(ms, std::move(handler));
    }
    void StopTimer(TTimerId id) override { Real.StopTimer(id); }
    void StartThread(std::function<void()> body) override { Real.StartThread(std::move(body)); }
    IThreadDispatch& Real;
    std::atomic<bool> Held{false};
    std::promise<void> AtHandOver;
    std::promise<void> Release;
    std::shared_future<void> Go = Release.get_future().share();
  } held(Dispatch());
  TPlatform platform = Platform();
  platform.Dispatch = &held;
  const TPlatform previous = SetPlatform(platform);
  monitor = Make(kFolder, 10);
  Touch(std::string(kFolder) + "\\c.jpg");
  ASSERT_EQ(held.AtHandOver.get_future().wait_for(3s), std::future_status::ready);
  monitor.reset();
  held.Release.set_value();
  EXPECT_TRUE(Dispatch().WaitForThreads(3s)) << "the thread waits for a report nobody runs";
  EXPECT_EQ(Dispatch().ProcessCalls(), 0);
  EXPECT_TRUE(Dispatch().WaitForThreads(3s));
  EXPECT_EQ(Changes, 0);
  SetPlatform(previous);
}

TEST_F(FolderMonitorTest, ARefusedWatchIsReportedAndAFilterChangeKeepsTheOldWatch) {
  auto monitor = Make(kFolder, 0);
  const TFileChangeFilters old = monitor->Filter();
  EXPECT_EQ(ChangeFlags(old), 0x01Bu);
  EXPECT_EQ(ChangeFlags(old | fnCreation), 0x05Bu);
  EXPECT_EQ(ChangeFlags(fnAttributes | fnLastAccess | fnSecurity), 0x124u);

  Env.ChangeNotification().FailNextWatch = 24;
  try {
    monitor->SetFilter(old | fnCreation);
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "System Error.  Code: 24.\r\nToo many open files");
  }
  EXPECT_EQ(monitor->Filter(), old);
  EXPECT_TRUE(monitor->Active());
  Touch(std::string(kFolder) + "\\a.jpg");
  EXPECT_GE(PumpChange(), 1);
  EXPECT_GE(Changes, 1);

  // Starting a watch the system refuses leaves the monitor inactive.
  monitor->SetActive(false);
  Env.ChangeNotification().FailNextWatch = 2;
  EXPECT_THROW(monitor->SetActive(true), Exception);
  EXPECT_FALSE(monitor->Active());
}

TEST_F(FolderMonitorTest, ActiveFromStoredSettingsStartsOnceTheyAreLoaded) {
  TFolderMonitor monitor;
  EXPECT_FALSE(monitor.Active());
  EXPECT_EQ(monitor.DelayTime(), 0u);
  EXPECT_TRUE(monitor.MonitorSubtree());
  EXPECT_EQ(monitor.Filter(), fnFileName | fnDirName | fnSize | fnLastWrite);
  monitor.BeginLoading();
  monitor.SetActive(true);
  monitor.SetFolderName(kFolder);
  EXPECT_FALSE(monitor.Active());
  EXPECT_EQ(Dispatch().ThreadsStarted(), 0);
  monitor.Loaded();
  EXPECT_TRUE(monitor.Active());
  EXPECT_EQ(Dispatch().ThreadsStarted(), 1);
}

TEST_F(FolderMonitorTest, AWatchedFolderThatGoesEndsTheWatchQuietly) {
  auto monitor = Make(kFolder, 0);
  std::filesystem::remove_all(Files().HostPath(kFolder));
  PumpChange();
  // The thread ended by itself; the monitor still holds it.
  EXPECT_TRUE(Dispatch().WaitForThreads(3s));
  EXPECT_TRUE(monitor->Active());
  Files().CreateDirectory(kFolder);
  Touch(std::string(kFolder) + "\\a.jpg");
  EXPECT_EQ(Pump(300ms), 0);
}

}  // namespace
}  // namespace bx
