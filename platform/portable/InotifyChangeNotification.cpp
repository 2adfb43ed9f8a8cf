#include "platform/portable/InotifyChangeNotification.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>

namespace bx {

namespace {

namespace fs = std::filesystem;

// What the kinds of change ask inotify for; a subtree watch also follows
// new folders so that it can watch them too.
std::uint32_t InotifyMask(std::uint32_t filter, bool subtree) {
  std::uint32_t mask = IN_ONLYDIR | IN_DELETE_SELF | IN_MOVE_SELF;
  if (filter & (kNotifyFileName | kNotifyDirName))
    mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
  if (filter & kNotifyCreation) mask |= IN_CREATE;
  if (filter & kNotifySize) mask |= IN_MODIFY;
  if (filter & kNotifyLastWrite) mask |= IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB;
  if (filter & (kNotifyAttributes | kNotifySecurity)) mask |= IN_ATTRIB;
  if (filter & kNotifyLastAccess) mask |= IN_ACCESS;
  if (subtree) mask |= IN_CREATE | IN_MOVED_TO;
  return mask;
}

// Whether one event is a change of the kinds asked for.
bool Counts(std::uint32_t event, std::uint32_t filter) {
  const bool folder = (event & IN_ISDIR) != 0;
  std::uint32_t kinds = 0;
  if (event & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO))
    kinds |= folder ? kNotifyDirName : kNotifyFileName;
  if (event & IN_CREATE) kinds |= kNotifyCreation;
  if (event & IN_MODIFY) kinds |= kNotifySize | kNotifyLastWrite;
  if (event & IN_CLOSE_WRITE) kinds |= kNotifyLastWrite;
  if (event & IN_ATTRIB) kinds |= kNotifyAttributes | kNotifySecurity | kNotifyLastWrite;
  if (event & IN_ACCESS) kinds |= kNotifyLastAccess;
  return (kinds & filter) != 0;
}

class TInotifyWatch : public IFolderWatch {
 public:
  TInotifyWatch(bool subtree, std::uint32_t filter)
      : FSubtree(subtree), FFilter(filter), FMask(InotifyMask(filter, subtree)) {}

  ~TInotifyWatch() override {
    if (FInotify >= 0) ::close(FInotify);
    if (FWake >= 0) ::close(FWake);
  }

  // 0 or the errno of the failure.
  int Open(const fs::path& folder) {
    FInotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (FInotify < 0) return errno;
    FWake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (FWake < 0) return errno;
    FRoot = inotify_add_watch(FInotify, folder.c_str(), FMask);
    if (FRoot < 0) return errno;
    if (FSubtree) AddSubfolders(folder);
    return 0;
  }

  TWatchResult Wait() override {
    for (;;) {
      pollfd fds[2] = {{FWake, POLLIN, 0}, {FInotify, POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        FLastError = static_cast<std::uint32_t>(errno);
        return TWatchResult::Failed;
      }
      if (fds[0].revents) return TWatchResult::Woken;
      if (fds[1].revents & (POLLERR | POLLNVAL)) {
        FLastError = EIO;
        return TWatchResult::Failed;
      }
      if (Drain()) return TWatchResult::Changed;
    }
  }

  // What arrives after the drain stays queued for the next Wait.
  bool Rearm() override {
    if (!FEnded) return true;
    FLastError = ENOENT;
    return false;
  }

  void Wake() override {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(FWake, &one, sizeof one);
  }

  std::uint32_t LastError() const override { return FLastError; }

 private:
  // Reads every queued event; true when one of them counts.
  bool Drain() {
    bool changed = false;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
      const ssize_t n = ::read(FInotify, buffer, sizeof buffer);
      if (n <= 0) break;
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        if (event->mask & IN_Q_OVERFLOW) {
          changed = true;
        } else if (event->wd == FRoot &&
                   (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT))) {
          // The watched folder itself went: a last change, then the end.
          FEnded = true;
          changed = true;
        } else {
          if (Counts(event->mask, FFilter)) changed = true;
          if (FSubtree && (event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)) &&
              event->len > 0) {
            auto parent = FFolders.find(event->wd);
            if (parent != FFolders.end()) AddFolder(parent->second / event->name);
          }
        }
      }
    }
    return changed;
  }

  void AddFolder(const fs::path& folder) {
    const int wd = inotify_add_watch(FInotify, folder.c_str(), FMask);
    if (wd < 0) return;  // gone again, or not readable: not watched
    FFolders[wd] = folder;
    AddSubfolders(folder);
  }

  void AddSubfolders(const fs::path& folder) {
    if (FFolders.empty()) FFolders[FRoot] = folder;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code ignored;
      if (it->is_directory(ignored) && !it->is_symlink(ignored)) AddFolder(it->path());
    }
  }

  bool FSubtree;
  std::uint32_t FFilter;
  std::uint32_t FMask;
  int FInotify = -1;
  int FWake = -1;
  int FRoot = -1;
  bool FEnded = false;
  std::map<int, fs::path> FFolders;
  std::atomic<std::uint32_t> FLastError{0};
};

}  // namespace

std::unique_ptr<IFolderWatch> TInotifyChangeNotification::WatchFolder(const std::string& folder,
                                                                 bool subtree,
                                                                 std::uint32_t filter,
                                                                 std::uint32_t& error) {
  error = 0;
  if (FailNextWatch) {
    error = FailNextWatch;
    FailNextWatch = 0;
    return nullptr;
  }
  auto watch = std::make_unique<TInotifyWatch>(subtree, filter);
  if (const int code = watch->Open(FHostPath(folder))) {
    error = static_cast<std::uint32_t>(code);
    return nullptr;
  }
  return watch;
}

std::string TInotifyChangeNotification::ErrorText(std::uint32_t code) {
  return std::strerror(static_cast<int>(code));
}

}  // namespace bx
