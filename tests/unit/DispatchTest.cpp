// The dispatch service of the portable build: a worker's call runs on the
// dialog's thread while the worker waits, and one-shot timers on its clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "binding/portable/PortableEnvironment.h"
#include "platform/Errors.h"

namespace bx {
namespace {

using namespace std::chrono_literals;

TEST(ManualDispatch, AWorkersCallRunsOnTheDialogsThreadWhileTheWorkerWaits) {
  TPortableEnvironment environment;
  TManualDispatch& dispatch = environment.Dispatch();
  std::thread::id ranOn;
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    EXPECT_TRUE(Platform().Dispatch->Synchronize(nullptr, [&] { ranOn = std::this_thread::get_id(); }));
    returned = true;
  });
  ASSERT_TRUE(dispatch.WaitForCall(5s));
  std::this_thread::sleep_for(30ms);
  EXPECT_FALSE(returned) << "the worker returned before its call ran";
  EXPECT_EQ(dispatch.ProcessCalls(), 1);
  worker.join();
  EXPECT_TRUE(returned);
  EXPECT_EQ(ranOn, std::this_thread::get_id());

  // On the dialog's thread itself a call runs at once.
  int direct = 0;
  EXPECT_TRUE(dispatch.Synchronize(nullptr, [&] { ++direct; }));
  EXPECT_EQ(direct, 1);
  EXPECT_EQ(dispatch.ProcessCalls(), 0);

  // The calls of a sender that the dialog's thread dropped never run, and
  // their worker is released at once.
  const int sender = 0;
  bool ranDropped = false;
  std::atomic<bool> refused{false};
  std::thread dropped([&] {
    refused = !Platform().Dispatch->Synchronize(&sender, [&] { ranDropped = true; });
  });
  ASSERT_TRUE(dispatch.WaitForCall(5s));
  dispatch.DropCalls(&sender);
  dropped.join();
  EXPECT_TRUE(refused);
  EXPECT_EQ(dispatch.ProcessCalls(), 0);
  EXPECT_FALSE(ranDropped);
  // A sender released before its calls were dropped is not queued again:
  // its worker is answered at once, with nobody running the loop.
  std::atomic<bool> released{true};
  refused = false;
  std::thread late([&] {
    refused = !Platform().Dispatch->Synchronize(&sender, [&] { ranDropped = true; }, &released);
  });
  late.join();
  EXPECT_TRUE(refused);
  EXPECT_EQ(dispatch.ProcessCalls(), 0);
  EXPECT_FALSE(ranDropped);

  // A handed-over call that fails is reported on the dialog's thread, and
  // its worker goes on.
  std::thread failing(
      [] { Platform().Dispatch->Synchronize(nullptr, [] { throw Exception("Lost folder"); }); });
  ASSERT_TRUE(dispatch.WaitForCall(5s));
  EXPECT_EQ(dispatch.ProcessCalls(), 1);
  failing.join();
  ASSERT_EQ(environment.MessageBoxes().Messages.size(), 1u);
  EXPECT_EQ(environment.MessageBoxes().Messages[0].Text, "Lost folder");
  EXPECT_EQ(environment.MessageBoxes().Messages[0].Type, TMsgDlgType::mtError);
}

TEST(ManualDispatch, ATimerFiresOnceWhenItsTimeHasCome) {
  TPortableEnvironment environment;
  TManualDispatch& dispatch = environment.Dispatch();
  IThreadDispatch& service = *Platform().Dispatch;
  std::vector<std::pair<char, std::uint64_t>> fired;
  const TTimerId merge = service.StartTimer(10, [&] { fired.push_back({'m', dispatch.Now()}); });
  EXPECT_NE(merge, 0u);
  dispatch.Advance(9);
  EXPECT_TRUE(fired.empty());
  dispatch.Advance(1);
  EXPECT_EQ(fired, (std::vector<std::pair<char, std::uint64_t>>{{'m', 10}}));
  dispatch.Advance(100);
  EXPECT_EQ(fired.size(), 1u) << "one-shot";
  service.StopTimer(merge);  // fired already: no error

  // Stopped before its time, a timer never fires; timers fire in the order
  // of their times, and one started by a handler at its own.
  const TTimerId stopped = service.StartTimer(5, [&] { fired.push_back({'s', dispatch.Now()}); });
  service.StartTimer(30, [&] { fired.push_back({'b', dispatch.Now()}); });
  service.StartTimer(20, [&] {
    fired.push_back({'a', dispatch.Now()});
    service.StartTimer(5, [&] { fired.push_back({'c', dispatch.Now()}); });
  });
  service.StopTimer(stopped);
  dispatch.Advance(50);
  EXPECT_EQ(fired, (std::vector<std::pair<char, std::uint64_t>>{
                       {'m', 10}, {'a', 130}, {'c', 135}, {'b', 140}}));
  EXPECT_EQ(dispatch.PendingTimers(), 0);
}

}  // namespace
}  // namespace bx
