// Where an error goes that escapes a callback of the system (a window
// procedure, a hook, a worker's result, a queued call): the dialogs' error
// report. The user interface installs it; until it does, such an error
// goes nowhere.
#pragma once

#include <exception>

namespace bx {

using TErrorReport = void (*)(const std::exception& error);
// Installs the report and answers the one before it.
TErrorReport SetErrorReport(TErrorReport report);
// Hands the error to the report; an error of the report itself goes nowhere.
void ReportError(const std::exception& error) noexcept;

}  // namespace bx
