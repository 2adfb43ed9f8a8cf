#include "platform/portable/InotifyChangeNotification.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/portable/PortablePlatform.h"

namespace bx {
namespace {

// The inotify events that stand for each kind of change.
std::uint32_t EventMask(std::uint32_t filter) {
  constexpr std::uint32_t kNames = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                   IN_DELETE_SELF | IN_MOVE_SELF;
  std::uint32_t mask = 0;
  if (filter & (kNotifyFileName | kNotifyDirName | kNotifyCreation)) mask |= kNames;
  if (filter & (kNotifyAttributes | kNotifySecurity)) mask |= IN_ATTRIB;
  if (filter & (kNotifySize | kNotifyLastWrite)) mask |= IN_MODIFY | IN_CLOSE_WRITE;
  if (filter & kNotifyLastAccess) mask |= IN_ACCESS;
  return mask;
}

class TInotifyWatch : public IFolderWatch {
 public:
  TInotifyWatch(int notify, int wake) : FNotify(notify), FWake(wake) {}
  ~TInotifyWatch() override {
    ::close(FNotify);
    ::close(FWake);
  }
  TInotifyWatch(const TInotifyWatch&) = delete;
  TInotifyWatch& operator=(const TInotifyWatch&) = delete;

  TWatchResult Wait() override {
    pollfd fds[2] = {{FNotify, POLLIN, 0}, {FWake, POLLIN, 0}};
    for (;;) {
      if (::poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        FLastError = static_cast<std::uint32_t>(errno);
        return TWatchResult::Failed;
      }
      // A change comes first when both are there, as the first of the
      // platform's handles would.
      if (fds[0].revents) return TWatchResult::Changed;
      if (fds[1].revents) return TWatchResult::Woken;
    }
  }

  // The events seen so far are taken, so that the next wait sees new ones.
  bool Rearm() override {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(FNotify, buffer, sizeof buffer);
      if (n > 0) continue;
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN) {
        FLastError = static_cast<std::uint32_t>(errno);
        return false;
      }
      return true;
    }
  }

  void Wake() override {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(FWake, &one, sizeof one);
  }

  std::uint32_t LastError() const override { return FLastError; }

 private:
  int FNotify;
  int FWake;
  std::uint32_t FLastError = 0;
};

}  // namespace

std::unique_ptr<IFolderWatch> TInotifyChangeNotification::WatchFolder(const std::string& folder,
                                                                      bool subtree,
                                                                      std::uint32_t filter,
                                                                      std::uint32_t& error) {
  error = 0;
  const std::filesystem::path host = FFiles.HostPath(folder);
  std::error_code ec;
  if (!std::filesystem::is_directory(host, ec)) {
    error = kErrorFileNotFound;
    return nullptr;
  }
  const int notify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  const int wake = ::eventfd(0, EFD_CLOEXEC);
  auto fail = [&](int code) -> std::unique_ptr<IFolderWatch> {
    error = static_cast<std::uint32_t>(code);
    if (notify >= 0) ::close(notify);
    if (wake >= 0) ::close(wake);
    return nullptr;
  };
  if (notify < 0 || wake < 0) return fail(errno);
  const std::uint32_t mask = EventMask(filter) | IN_ONLYDIR;
  if (::inotify_add_watch(notify, host.c_str(), mask) < 0) return fail(errno);
  // inotify watches one folder at a time: the subfolders there are now are
  // watched each.
  if (subtree) {
    for (auto it = std::filesystem::recursive_directory_iterator(host, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      if (it->is_directory(ec)) ::inotify_add_watch(notify, it->path().c_str(), mask);
  }
  return std::make_unique<TInotifyWatch>(notify, wake);
}

std::string TInotifyChangeNotification::ErrorText(std::uint32_t error) {
  return std::strerror(static_cast<int>(error));
}

}  // namespace bx
