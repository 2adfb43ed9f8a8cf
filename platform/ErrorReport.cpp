#include "platform/ErrorReport.h"

#include <atomic>

namespace bx {

namespace {
// Workers' results are reported on the dialog's thread, but the report may
// be installed while a worker of an earlier dialog is still ending.
std::atomic<TErrorReport> gReport{nullptr};
}  // namespace

TErrorReport SetErrorReport(TErrorReport report) { return gReport.exchange(report); }

void ReportError(const std::exception& error) noexcept {
  try {
    if (const TErrorReport report = gReport.load()) report(error);
  } catch (...) {
  }
}

}  // namespace bx
