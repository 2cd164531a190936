#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace netglobe {

inline constexpr double kDefaultHistoryHours = 24;
// A year: the receipt times stay far from overflowing, and no network's
// history of a year would fit on an ordinary disk anyway.
inline constexpr double kMaxHistoryHours = 24 * 365;
inline constexpr const char* kHistoryOptionError =
    "--history needs a number of hours from 0 to 8760, fractions allowed (0 keeps no history)";

// How long kept refreshes stay, counted from their time of receipt.
// Nothing at all is kept (and nothing dropped) when it is off.
struct HistoryRetention {
  std::int64_t ms = 0;
  bool off() const { return ms <= 0; }
  // Any positive number of hours keeps at least a millisecond's worth.
  static HistoryRetention hours(double hours);
};

// The value of --history: a plain decimal number of hours ("24", "0.05",
// "0"); nullopt for anything else (blanks, a sign, "inf", beyond a year).
std::optional<HistoryRetention> parsehistoryhours(std::string_view text);

// The store's folder inside the program's folder.
std::string historyfolder(const std::string& programfolder);

}  // namespace netglobe
