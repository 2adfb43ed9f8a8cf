#include "platform/win32/WinMemoryStatus.h"

#include "platform/win32/WinApi.h"

namespace bx {
namespace {

class TWinMemoryStatus : public IMemoryStatus {
 public:
  TMemoryStatus GetMemoryStatus() override {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    TMemoryStatus result;
    if (!GlobalMemoryStatusEx(&status)) return result;
    result.TotalPhys = status.ullTotalPhys;
    result.AvailPhys = status.ullAvailPhys;
    result.TotalPageFile = status.ullTotalPageFile;
    result.AvailPageFile = status.ullAvailPageFile;
    result.TotalVirtual = status.ullTotalVirtual;
    result.AvailVirtual = status.ullAvailVirtual;
    return result;
  }
};

}  // namespace

IMemoryStatus& WinMemoryStatus() {
  static TWinMemoryStatus memory;
  return memory;
}

}  // namespace bx
