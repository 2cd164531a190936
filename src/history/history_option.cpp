#include "history/history_option.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace netglobe {

HistoryRetention HistoryRetention::hours(double hours) {
  if (!(hours > 0)) return {};
  const double ms = std::round(std::min(hours, kMaxHistoryHours) * 3600.0 * 1000.0);
  return {std::max<std::int64_t>(1, static_cast<std::int64_t>(ms))};
}

std::optional<HistoryRetention> parsehistoryhours(std::string_view text) {
  // from_chars takes no leading blank or "+", but does take "-", "inf" and
  // "nan": those are turned away below.
  if (text.empty() || text.front() == '-') return std::nullopt;
  double hours = 0;
  const char* end = text.data() + text.size();
  const auto [rest, ec] = std::from_chars(text.data(), end, hours, std::chars_format::general);
  if (ec != std::errc() || rest != end || !std::isfinite(hours)) return std::nullopt;
  if (hours < 0 || hours > kMaxHistoryHours) return std::nullopt;
  return HistoryRetention::hours(hours);
}

std::string historyfolder(const std::string& programfolder) {
  return programfolder.empty() ? "history" : programfolder + "/history";
}

}  // namespace netglobe
