#include "platform/Parallel.h"

#include <exception>
#include <thread>

namespace bx {

void RunAlongside(const std::function<void()>& side, const std::function<void()>& here) {
  std::exception_ptr sideError;
  std::thread thread;
  try {
    thread = std::thread([&] {
      try {
        side();
      } catch (...) {
        sideError = std::current_exception();
      }
    });
  } catch (...) {
    here();
    side();
    return;
  }
  std::exception_ptr hereError;
  try {
    here();
  } catch (...) {
    hereError = std::current_exception();
  }
  thread.join();
  if (hereError) std::rethrow_exception(hereError);
  if (sideError) std::rethrow_exception(sideError);
}

void RunRows(int first, int last, std::int64_t pixels, const std::function<void(int, int)>& rows) {
  if (last - first < 2 || pixels < kParallelPixels) {
    rows(first, last);
    return;
  }
  const int middle = first + (last - first) / 2;
  RunAlongside([&] { rows(middle, last); }, [&] { rows(first, middle); });
}

}  // namespace bx
