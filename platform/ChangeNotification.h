// Change notification of a folder: a watch that a worker thread waits on
// until the folder changes or the watch is woken.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace bx {

// Kinds of change, as the platform's FILE_NOTIFY_CHANGE_* bits.
constexpr std::uint32_t kNotifyFileName = 0x001;
constexpr std::uint32_t kNotifyDirName = 0x002;
constexpr std::uint32_t kNotifyAttributes = 0x004;
constexpr std::uint32_t kNotifySize = 0x008;
constexpr std::uint32_t kNotifyLastWrite = 0x010;
constexpr std::uint32_t kNotifyLastAccess = 0x020;
constexpr std::uint32_t kNotifyCreation = 0x040;
constexpr std::uint32_t kNotifySecurity = 0x100;

enum class TWatchResult { Changed, Woken, Failed };

// One folder's change notification and the event that wakes its waiter.
// Wait, Rearm and LastError belong to the waiting thread; Wake may come
// from any thread.
class IFolderWatch {
 public:
  virtual ~IFolderWatch() = default;
  // Blocks until the folder changed since the watch was made or last
  // re-armed, until Wake, or until the wait fails.
  virtual TWatchResult Wait() = 0;
  // Watches for the next change; false on failure.
  virtual bool Rearm() = 0;
  // Ends the current or the next Wait with Woken, and every one after it.
  virtual void Wake() = 0;
  // The platform's error code of the last failure, 0 when none.
  virtual std::uint32_t LastError() const = 0;
};

class IChangeNotification {
 public:
  virtual ~IChangeNotification() = default;
  // A watch on `folder` (its subfolders too with `subtree`) for the kinds of
  // change in `filter`; null when the platform refuses, with its error code.
  virtual std::unique_ptr<IFolderWatch> WatchFolder(const std::string& folder, bool subtree,
                                                    std::uint32_t filter,
                                                    std::uint32_t& error) = 0;
  // The system's text for an error code.
  virtual std::string ErrorText(std::uint32_t error) = 0;
};

}  // namespace bx
