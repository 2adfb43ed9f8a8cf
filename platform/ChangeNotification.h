// Change notification: a watch of one folder that a worker thread waits on,
// with a wake signal that ends the wait from any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace bx {

// The kinds of change, as the system's FILE_NOTIFY_CHANGE_* flags.
constexpr std::uint32_t kNotifyFileName = 0x001;
constexpr std::uint32_t kNotifyDirName = 0x002;
constexpr std::uint32_t kNotifyAttributes = 0x004;
constexpr std::uint32_t kNotifySize = 0x008;
constexpr std::uint32_t kNotifyLastWrite = 0x010;
constexpr std::uint32_t kNotifyLastAccess = 0x020;
constexpr std::uint32_t kNotifyCreation = 0x040;
constexpr std::uint32_t kNotifySecurity = 0x100;

enum class TWatchResult { Changed, Woken, Failed };

// A change notification and its manual-reset wake event. Wait and Rearm
// belong to the one waiting thread; Wake may come from any thread.
class IFolderWatch {
 public:
  virtual ~IFolderWatch() = default;
  // Blocks without time limit until a change of the kinds asked for, or
  // until Wake (which stays signalled). Failed sets LastError.
  virtual TWatchResult Wait() = 0;
  // Re-arms after a change; changes made meanwhile are not lost. False,
  // with LastError set, when the watch cannot go on.
  virtual bool Rearm() = 0;
  virtual void Wake() = 0;
  virtual std::uint32_t LastError() const = 0;
};

class IChangeNotification {
 public:
  virtual ~IChangeNotification() = default;
  // Watches `folder` (and with `subtree` its subfolders) for the kinds of
  // change in `filter`. Null, with `error` set to the system's code, when
  // the system refuses.
  virtual std::unique_ptr<IFolderWatch> WatchFolder(const std::string& folder, bool subtree,
                                              std::uint32_t filter, std::uint32_t& error) = 0;
  // The system's text for one of its error codes.
  virtual std::string ErrorText(std::uint32_t code) = 0;
};

}  // namespace bx
