#include "components/FolderNotify.h"

#include "platform/Errors.h"
#include "platform/Platform.h"

namespace bx {

std::uint32_t ChangeFlags(TFileChangeFilters filter) {
  static constexpr std::uint32_t kFlags[] = {
      kNotifyFileName, kNotifyDirName,    kNotifyAttributes, kNotifySize,
      kNotifyLastWrite, kNotifyLastAccess, kNotifyCreation,   kNotifySecurity};
  std::uint32_t flags = 0;
  for (unsigned member = 0; member < 8; ++member)
    if (filter & (1u << member)) flags |= kFlags[member];
  return flags;
}

// ---- TNotifyThread ----------------------------------------------------------------

TNotifyThread::TNotifyThread(std::unique_ptr<IFolderWatch> watch, IThreadDispatch& dispatch)
    : FWatch(std::move(watch)), FDispatch(dispatch) {}

TNotifyThread::~TNotifyThread() = default;

std::shared_ptr<TNotifyThread> TNotifyThread::Create(const std::string& folder, bool subtree,
                                                     TFileChangeFilters filter) {
  const TPlatform& platform = Platform();
  std::uint32_t error = 0;
  std::unique_ptr<IFolderWatch> watch =
      platform.ChangeNotification->WatchFolder(folder, subtree, ChangeFlags(filter), error);
  if (!watch) {
    const std::string message = FormatText("System Error.  Code: %d.\r\n%s", error);
    throw Exception(FormatText(message, platform.ChangeNotification->ErrorText(error)));
  }
  std::shared_ptr<TNotifyThread> thread(new TNotifyThread(std::move(watch), *platform.Dispatch));
  platform.Dispatch->StartThread([thread] { thread->Execute(); });
  return thread;
}

void TNotifyThread::Execute() {
  while (!FTerminated) {
    const TWatchResult result = FWatch->Wait();
    if (result == TWatchResult::Woken) break;
    if (result == TWatchResult::Failed) {
      FLastError = FWatch->LastError();
      break;
    }
    if (!FTerminated) ReportChange();
    if (!FWatch->Rearm()) {
      FLastError = FWatch->LastError();
      break;
    }
  }
  FWaitEnded = true;
}

void TNotifyThread::ReportChange() {
  // FOnChange is looked at on the dialog's thread only: a monitor that let
  // go of this thread meanwhile gets no report. A report made just as the
  // monitor lets go is not queued at all, so the thread never waits for a
  // dialog thread that may not pump again.
  FDispatch.Synchronize(
      this,
      [this] {
        if (FOnChange) FOnChange(*this);
      },
      &FTerminated);
}

void TNotifyThread::Release() {
  FOnChange = nullptr;
  FTerminated = true;
  // A report on its way is dropped, so the thread never waits for a dialog
  // that will not run it; then the wait itself ends.
  FDispatch.DropCalls(this);
  if (!FWaitEnded) FWatch->Wake();
}

// ---- TFolderMonitor -------------------------------------------------------------

TFolderMonitor::TFolderMonitor() = default;

TFolderMonitor::~TFolderMonitor() {
  StopDelayTimer();
  StopWatch();
}

void TFolderMonitor::SetActive(bool value) {
  if (FLoading && value) {
    FActivateAfterLoad = true;
    return;
  }
  FWanted = value;
  if (value != Active()) RestartWatch(value);
}

void TFolderMonitor::Loaded() {
  FLoading = false;
  if (!FActivateAfterLoad) return;
  FActivateAfterLoad = false;
  SetActive(true);
}

void TFolderMonitor::SetFolderName(const std::string& value) {
  if (value == FFolderName) return;
  FFolderName = value;
  RestartWatch(FWanted);
}

void TFolderMonitor::SetMonitorSubtree(bool value) {
  if (value == FMonitorSubtree) return;
  FMonitorSubtree = value;
  RestartWatch(FWanted);
}

void TFolderMonitor::SetFilter(TFileChangeFilters value) {
  if (value == FFilter) return;
  const bool wasActive = Active();
  const TFileChangeFilters old = FFilter;
  FFilter = value;
  try {
    RestartWatch(FWanted);
  } catch (...) {
    FFilter = old;
    if (wasActive) {
      try {
        RestartWatch(true);
      } catch (...) {
        // The first error is the one to report.
      }
    }
    throw;
  }
}

void TFolderMonitor::SetDelayTime(std::uint32_t value) {
  if (FDelayTimer) {
    IThreadDispatch* dispatch = FTimerDispatch;
    StopDelayTimer();
    if (value != 0) {
      FDelayTimer = dispatch->StartTimer(value, [this] { DelayElapsed(); });
      FTimerDispatch = dispatch;
    }
  }
  FDelayTime = value;
}

void TFolderMonitor::RestartWatch(bool Activate) {
  StopWatch();
  const TPlatform& platform = Platform();
  if (!Activate || !platform.ChangeNotification || !platform.Dispatch) return;
  // A folder that does not exist (or is a file) is silently not watched.
  if (!platform.Files || !platform.Files->DirectoryExists(FFolderName)) return;
  FWatchThread = TNotifyThread::Create(FFolderName, FMonitorSubtree, FFilter);
  FWatchThread->FOnChange = [this](TNotifyThread& Sender) { ThreadChanged(Sender); };
}

void TFolderMonitor::StopWatch() {
  if (!FWatchThread) return;
  FWatchThread->Release();
  FWatchThread.reset();
}

void TFolderMonitor::ThreadChanged(TNotifyThread&) {
  if (FDelayTime == 0) {
    FireChange();
    return;
  }
  // A report while one is pending merges into it; the delay is not restarted.
  if (FDelayTimer) return;
  FTimerDispatch = Platform().Dispatch;
  FDelayTimer = FTimerDispatch->StartTimer(FDelayTime, [this] { DelayElapsed(); });
}

void TFolderMonitor::DelayElapsed() {
  FDelayTimer = 0;
  FTimerDispatch = nullptr;
  FireChange();
}

void TFolderMonitor::FireChange() {
  if (OnChange) OnChange(*this);
}

void TFolderMonitor::StopDelayTimer() {
  if (!FDelayTimer) return;
  FTimerDispatch->StopTimer(FDelayTimer);
  FDelayTimer = 0;
  FTimerDispatch = nullptr;
}

}  // namespace bx
