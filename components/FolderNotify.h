// TFolderMonitor watches one folder and reports on the dialog's thread that
// something in it changed. The waiting happens in a thread of its own,
// TNotifyThread; the monitor merges bursts of its reports into one OnChange.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ChangeNotification.h"
#include "platform/Dispatch.h"
#include "ui/Controls.h"

namespace bx {

enum TFileChangeFilter : unsigned {
  fnFileName = 1u << 0,
  fnDirName = 1u << 1,
  fnAttributes = 1u << 2,
  fnSize = 1u << 3,
  fnLastWrite = 1u << 4,
  fnLastAccess = 1u << 5,
  fnCreation = 1u << 6,
  fnSecurity = 1u << 7,
};
using TFileChangeFilters = unsigned;  // a set of TFileChangeFilter

// The system's change-notification flags of a filter set.
std::uint32_t ChangeFlags(TFileChangeFilters filter);

// The waiting thread. It only waits, re-arms and hands its reports to the
// dialog's thread; it never touches the monitor. The monitor and the
// running thread share it, so that whichever lets go last frees it.
class TNotifyThread : public TObject, public std::enable_shared_from_this<TNotifyThread> {
 public:
  // Watches and starts the thread; throws "System Error.  Code: %d.\r\n%s"
  // when the system refuses the watch.
  static std::shared_ptr<TNotifyThread> Create(const std::string& folder, bool subtree,
                                               TFileChangeFilters filter);
  ~TNotifyThread() override;

  // The monitor's report handler; set and cleared on the dialog's thread,
  // and read there only.
  std::function<void(TNotifyThread& Sender)> FOnChange;

  bool WaitEnded() const { return FWaitEnded; }
  std::uint32_t LastError() const { return FLastError; }
  // Dialog's thread: no report of this thread runs any more, and the
  // thread ends by itself without anyone waiting for it.
  void Release();

 private:
  TNotifyThread(std::unique_ptr<IFolderWatch> watch, IThreadDispatch& dispatch);
  void Execute();
  void ReportChange();

  std::unique_ptr<IFolderWatch> FWatch;  // the change handle and the wake event
  IThreadDispatch& FDispatch;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FWaitEnded{false};
  std::atomic<std::uint32_t> FLastError{0};
};

class TFolderMonitor : public TObject {
 public:
  TFolderMonitor();
  ~TFolderMonitor() override;
  TFolderMonitor(const TFolderMonitor&) = delete;
  TFolderMonitor& operator=(const TFolderMonitor&) = delete;

  // Whether a watching thread exists. A monitor set active keeps wanting
  // to watch when its folder is missing: the next folder that exists is
  // watched (the dialog's starting folder need not exist).
  bool Active() const { return FWatchThread != nullptr; }
  void SetActive(bool value);
  std::uint32_t DelayTime() const { return FDelayTime; }
  void SetDelayTime(std::uint32_t value);
  TFileChangeFilters Filter() const { return FFilter; }
  void SetFilter(TFileChangeFilters value);
  const std::string& FolderName() const { return FFolderName; }
  void SetFolderName(const std::string& value);
  bool MonitorSubtree() const { return FMonitorSubtree; }
  void SetMonitorSubtree(bool value);
  // Raised on the dialog's thread when the folder changed.
  TNotifyEvent OnChange;

  // The owner's stored settings are being applied: Active true only takes
  // effect at Loaded, once every property is set. An error of that start
  // propagates from Loaded.
  void BeginLoading() { FLoading = true; }
  void Loaded();

  // For tests: whether a delayed report is pending.
  bool DelayPending() const { return FDelayTimer != 0; }

 private:
  void RestartWatch(bool Activate);
  void StopWatch();
  void ThreadChanged(TNotifyThread& Sender);
  void DelayElapsed();
  void FireChange();
  void StopDelayTimer();

  std::uint32_t FDelayTime = 0;
  TFileChangeFilters FFilter = fnFileName | fnDirName | fnSize | fnLastWrite;
  std::string FFolderName;
  bool FMonitorSubtree = true;
  std::shared_ptr<TNotifyThread> FWatchThread;
  TTimerId FDelayTimer = 0;
  IThreadDispatch* FTimerDispatch = nullptr;  // the service that runs FDelayTimer
  bool FWanted = false;  // set active, whether or not a thread exists
  bool FActivateAfterLoad = false;
  bool FLoading = false;
};

}  // namespace bx
