// The services that cross threads, over the real system: the dispatch
// service's message-only window and the change notification of a folder.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Errors.h"
#include "platform/win32/WinChangeNotification.h"
#include "platform/win32/WinDispatch.h"
#include "tests/wine/WineTestUtil.h"

namespace bx {
namespace {

using namespace winetest;

TEST(WinDispatch, AWorkersCallRunsOnTheDialogsThreadWhileTheWorkerWaits) {
  TRecordingMessageBoxes boxes;
  TPlatformScope scope(boxes);
  IThreadDispatch& dispatch = WinDispatch();
  DWORD ranOn = 0;
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    EXPECT_TRUE(dispatch.Synchronize(nullptr, [&] { ranOn = GetCurrentThreadId(); }));
    returned = true;
  });
  Sleep(50);
  EXPECT_FALSE(returned) << "the call runs only when the dialog's thread looks at its queue";
  ASSERT_TRUE(PumpUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_EQ(ranOn, GetCurrentThreadId());

  // A handed-over call that fails is reported on the dialog's thread; its
  // worker goes on.
  std::atomic<bool> failed{false};
  std::thread failing([&] {
    dispatch.Synchronize(nullptr, [] { throw Exception("Lost folder"); });
    failed = true;
  });
  ASSERT_TRUE(PumpUntil([&] { return failed.load(); }));
  failing.join();
  EXPECT_EQ(boxes.Texts, (std::vector<std::string>{"Lost folder"}));

  // On the dialog's thread a call runs at once.
  int direct = 0;
  EXPECT_TRUE(dispatch.Synchronize(nullptr, [&] { ++direct; }));
  EXPECT_EQ(direct, 1);
}

TEST(WinDispatch, ATimerFiresOnceOnTheDialogsThread) {
  IThreadDispatch& dispatch = WinDispatch();
  int fired = 0;
  DWORD firedOn = 0;
  dispatch.StartTimer(20, [&] {
    ++fired;
    firedOn = GetCurrentThreadId();
  });
  const TTimerId stopped = dispatch.StartTimer(20, [&] { fired += 100; });
  dispatch.StopTimer(stopped);
  ASSERT_TRUE(PumpUntil([&] { return fired > 0; }));
  Pump(150);
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(firedOn, GetCurrentThreadId());
}

TEST(WinChangeNotification, AChangeOrAWakeEndsTheWait) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::string folder =
      Narrow(std::wstring(temp)) + "bx-watch-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryW(Widen(folder).c_str(), nullptr));
  IChangeNotification& notification = WinChangeNotification();
  std::uint32_t error = 0;
  std::unique_ptr<IFolderWatch> watch =
      notification.WatchFolder(folder, false, kNotifyFileName | kNotifyLastWrite, error);
  ASSERT_TRUE(watch);
  // A wait that sees nothing is woken after a while, so that the test fails
  // instead of hanging.
  std::atomic<bool> done{false};
  std::thread guard([&] {
    for (int i = 0; i < 100 && !done; ++i) Sleep(50);
    watch->Wake();
  });
  const std::wstring file = Widen(folder + "\\new.bmp");
  HANDLE created = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  CloseHandle(created);
  EXPECT_EQ(watch->Wait(), TWatchResult::Changed);
  EXPECT_TRUE(watch->Rearm());
  done = true;
  guard.join();
  EXPECT_EQ(watch->Wait(), TWatchResult::Woken);
  watch.reset();
  DeleteFileW(file.c_str());
  RemoveDirectoryW(Widen(folder).c_str());

  EXPECT_FALSE(notification.WatchFolder(folder + "\\missing", false, kNotifyFileName, error));
  EXPECT_NE(error, 0u);
  EXPECT_FALSE(notification.ErrorText(error).empty());
}

}  // namespace
}  // namespace bx
