// Work split in two, for the few jobs worth a second core (decoding a large
// photo): one part on a thread of its own while the caller does the other.
#pragma once

#include <functional>

namespace bx {

// Runs `side` on a new thread while `here` runs on the calling thread, and
// returns once both have ended, so both may use what the caller holds.
// Where no thread can be started, `side` runs after `here`. An error of
// either is passed on when both have ended, `here`'s first.
void RunAlongside(const std::function<void()>& side, const std::function<void()>& here);

}  // namespace bx
