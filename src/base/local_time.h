#pragma once

#include <cstdint>
#include <string>

namespace netglobe {

// Local date (year-month-day) and time (hours:minutes:seconds) of a moment.
struct ClockTexts {
  std::string date;
  std::string time;
};

// Of ms since 1970 (UTC), on the local clock.
ClockTexts localclock(std::int64_t ms);
// The seconds of the minute.
int localsecond(std::int64_t ms);

// Now, on the system clock.
std::int64_t systemms();

}  // namespace netglobe
