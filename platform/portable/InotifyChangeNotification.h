// Change notification of the portable build over Linux's inotify, so that
// the folder monitor's tests run against real changes of real folders.
#pragma once

#include <filesystem>
#include <functional>

#include "platform/ChangeNotification.h"

namespace bx {

class TInotifyChangeNotification : public IChangeNotification {
 public:
  // `hostPath` maps the logic's Windows paths onto the host's.
  explicit TInotifyChangeNotification(
      std::function<std::filesystem::path(const std::string&)> hostPath)
      : FHostPath(std::move(hostPath)) {}

  std::unique_ptr<IFolderWatch> WatchFolder(const std::string& folder, bool subtree,
                                      std::uint32_t filter, std::uint32_t& error) override;
  std::string ErrorText(std::uint32_t code) override;

  // Test control: the next Watch fails with this code (0: none).
  std::uint32_t FailNextWatch = 0;

 private:
  std::function<std::filesystem::path(const std::string&)> FHostPath;
};

}  // namespace bx
