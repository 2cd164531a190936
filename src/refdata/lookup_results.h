#pragma once

#include <span>
#include <string>

namespace netglobe {

// Every lookup matches the first four characters of a line (characters 2 to
// 5 for an outline header) against the key, exactly and case-sensitively. A
// file that cannot be opened gives readable false: the caller ends its layer
// or label then.

struct FirInfo {
  bool readable = true;
  double destlat = 0;  // the FIR's label position; 0/0 when not found
  double destlon = 0;
  int firfound = 0;
  std::string fircode;  // where its outline lies in fir1.dat; only when firfound is 1
};

struct AirportPos {
  bool readable = true;
  bool found = false;
  double destlat = 0;  // 0/0 when not found; callers take latitude 0 as not found
  double destlon = 0;
};

// One outline of fir1.dat: the lines after its header up to the next line
// that begins with "!", or to the end of the file.
struct OutlineLines {
  bool readable = true;
  bool found = false;
  std::span<const std::string> points;
};

// The most points an outline buffer holds; a longer outline is not drawn.
inline constexpr std::size_t kMaxOutlinePoints = 500;

}  // namespace netglobe
