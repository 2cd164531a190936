#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace netglobe {

// The client lines of the last parse, sorted by kind. Each list is 1-based
// like the selection names that point into it: entry 0 is never filled and
// entries above the count are leftovers of earlier parses, never read. A
// list holds every line of its kind, however busy the network.
struct StatusLists {
  std::vector<std::string> applines = std::vector<std::string>(1);
  std::vector<std::string> ctrlines = std::vector<std::string>(1);
  std::vector<std::string> twrlines = std::vector<std::string>(1);
  std::vector<std::string> pillines = std::vector<std::string>(1);
  int appcount = 0;
  int ctrcount = 0;
  int twrcount = 0;
  int pilcount = 0;
  int clicount = 0;  // every client line of the last parse, whatever its kind
  int topcount = 0;  // highest clicount of the day; never lowered by a parse
};

// Stores line as entry count + 1 of a list and counts it, reusing the slot
// a parse before left there or adding one.
inline void appendline(std::vector<std::string>& list, int& count, std::string_view line) {
  const auto slot = static_cast<std::size_t>(++count);
  if (list.size() <= slot) list.resize(slot + 1);
  list[slot].assign(line);
}

}  // namespace netglobe
