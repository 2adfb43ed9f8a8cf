// Work split in two, for the few jobs worth a second core (decoding a large
// photo, reducing or stretching a desktop-size picture): one part on a
// thread of its own while the caller does the other.
#pragma once

#include <cstdint>
#include <functional>

namespace bx {

// The least work, in pixels, worth a second thread: below it starting one
// costs more than it saves.
constexpr std::int64_t kParallelPixels = std::int64_t{1} << 21;

// Runs `side` on a new thread while `here` runs on the calling thread, and
// returns once both have ended, so both may use what the caller holds.
// Where no thread can be started, `side` runs after `here`. An error of
// either is passed on when both have ended, `here`'s first.
void RunAlongside(const std::function<void()>& side, const std::function<void()>& here);

// Runs rows(first, last) over independent rows first up to last that cost
// `pixels` in all: at kParallelPixels or more, as two halves on two threads.
void RunRows(int first, int last, std::int64_t pixels, const std::function<void(int, int)>& rows);

}  // namespace bx
