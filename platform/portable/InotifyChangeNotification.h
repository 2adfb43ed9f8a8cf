// Change notification of the portable build over Linux's inotify, with an
// eventfd that wakes the waiting thread.
#pragma once

#include "platform/Platform.h"

namespace bx {

class TPortableFiles;

class TInotifyChangeNotification : public IChangeNotification {
 public:
  // Windows paths are mapped onto the host's through `files`.
  explicit TInotifyChangeNotification(TPortableFiles& files) : FFiles(files) {}
  std::unique_ptr<IFolderWatch> WatchFolder(const std::string& folder, bool subtree,
                                            std::uint32_t filter, std::uint32_t& error) override;
  std::string ErrorText(std::uint32_t error) override;

 private:
  TPortableFiles& FFiles;
};

}  // namespace bx
