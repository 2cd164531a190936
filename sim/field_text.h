#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace netsim {

// "yyyymmddhhmmss" in UTC, the time stamp format of the status file.
std::string timestamp(std::int64_t unixtime);

// "hhmm" in UTC, as flight plans give times.
std::string hhmm(std::int64_t unixtime);

// A number with a fixed count of decimals, and one rounded to a whole number.
std::string fixed(double value, int decimals);
std::string integer(double value);

// Cuts a UTF-8 text to at most maxbytes without splitting a character, and
// drops the blanks the cut leaves at its end.
std::string capped(std::string text, std::size_t maxbytes);

}  // namespace netsim
