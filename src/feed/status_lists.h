#pragma once

#include <string>
#include <vector>

namespace netglobe {

inline constexpr int kStationListCapacity = 500;
inline constexpr int kPilotListCapacity = 1000;

// The client lines of the last parse, sorted by kind. Each list is 1-based
// like the selection names that point into it: entry 0 is never filled and
// entries above the count are leftovers of earlier parses, never read.
struct StatusLists {
  std::vector<std::string> applines = std::vector<std::string>(kStationListCapacity + 1);
  std::vector<std::string> ctrlines = std::vector<std::string>(kStationListCapacity + 1);
  std::vector<std::string> twrlines = std::vector<std::string>(kStationListCapacity + 1);
  std::vector<std::string> pillines = std::vector<std::string>(kPilotListCapacity + 1);
  int appcount = 0;
  int ctrcount = 0;
  int twrcount = 0;
  int pilcount = 0;
  int clicount = 0;  // every client line of the last parse, whatever its kind
  int topcount = 0;  // highest clicount of the day; never lowered by a parse
};

}  // namespace netglobe
