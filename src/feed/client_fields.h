#pragma once

#include <array>
#include <string_view>

namespace netglobe {

// Positions in a client line that several readers take.
inline constexpr int kCallsign = 1;
inline constexpr int kMemberId = 2;
inline constexpr int kName = 3;
inline constexpr int kLatitude = 6;  // station and airport records have it there too
inline constexpr int kLongitude = 7;
inline constexpr int kGroundSpeed = 9;
inline constexpr int kDestination = 14;
inline constexpr int kObserverText = 36;

// The highest position any reader of a client line reads (the observer text).
inline constexpr int kLastClientPosition = kObserverText;
// An observer's line begins its observer text (position 36) with this.
inline constexpr std::string_view kObserverMark = "ZELV Observer";

// A record whose latitude or longitude (positions 6, 7) is empty reports no
// position at all: it is never placed at 0,0.
constexpr bool haspositionfields(std::string_view lat, std::string_view lon) {
  return !lat.empty() && !lon.empty();
}

// The fields of one client line, positions 1 to last (at most 36), as views
// into the line (which must outlive them). A position the line does not
// have reads empty: a cut or malformed line is a short record, never one
// with the coordinates, rating or destination of the line read before it.
// The side lists read every line of the stored copy three times a refresh,
// so the fields are not copied and not split further than needed.
class ClientFields {
 public:
  explicit ClientFields(std::string_view curline, int last = kLastClientPosition);
  std::string_view operator()(int n) const { return fields_.at(static_cast<std::size_t>(n)); }

 private:
  std::array<std::string_view, kLastClientPosition + 1> fields_{};  // slot 0 unused
};

}  // namespace netglobe
