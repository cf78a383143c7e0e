#pragma once
// Upper bounds on how long a wait took. The sanitizer build on a loaded
// machine wakes threads and answers sockets late, by a few hundred
// milliseconds at times. A bound only has to tell the right wait from a wrong
// one (another time-out, a pause between retries, a poll interval, a check
// that comes a second late), so it allows this much beyond the right wait and
// no more than the wrong one would take.

namespace orvella::test {

inline constexpr long kLateWakeMs = 500;

}  // namespace orvella::test
