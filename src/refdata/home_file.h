#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "refdata/keyed_lines.h"
#include "refdata/network_tables.h"

namespace netglobe {

inline constexpr const char* kHomeFileName = "home.txt";

// The region of the station side list, in degrees, edges included. A box
// whose west edge lies east of its east edge reaches across 180 degrees.
struct RegionBox {
  double south = 50.78;
  double north = 54.16;
  double west = 10.92;
  double east = 14.59;
  bool contains(double lat, double lon) const {
    if (lat < south || lat > north) return false;
    return west <= east ? lon >= west && lon <= east : lon >= west || lon <= east;
  }
  bool operator==(const RegionBox&) const = default;
};

// The user's home: the region box of the station list and the aerodromes
// of the inbound and outbound lists. Built in: the box above and the
// fourteen home aerodromes.
struct HomeRegion {
  RegionBox box;
  std::vector<std::string> airports{homeairports.begin(), homeairports.end()};
  bool ishome(std::string_view icao) const {
    for (const std::string& code : airports) {
      if (code == icao) return true;
    }
    return false;
  }
};

// An aerodrome code as home.txt and --home take it: four letters or digits,
// letters made upper case. Empty when the text is no code.
std::string homecode(std::string_view text);

// The codes of a list such as "EDDF,EDDM" (commas or blanks between them);
// false with the offending text in bad when one is no code.
bool homecodes(std::string_view text, std::vector<std::string>& codes, std::string& bad);

// The lines of home.txt: "box SOUTH NORTH WEST EAST" sets the region box,
// every other line lists aerodrome codes. Blank lines and lines starting
// with "#" are ignored. What the file does not set stays built in. A line
// that cannot be read is skipped with a note naming it.
HomeRegion parsehome(const std::vector<std::string>& lines, std::vector<std::string>& notes);

// folder/home.txt, read again when it appears, vanishes or changes.
class HomeFile {
 public:
  explicit HomeFile(const std::string& folder);

  // True when the file was read again (region and notes are then new).
  bool refresh();
  const HomeRegion& region() const { return region_; }
  const std::vector<std::string>& notes() const { return notes_; }

 private:
  std::string path_;
  bool loaded_ = false;
  FileIdentity identity_;
  HomeRegion region_;
  std::vector<std::string> notes_;
};

}  // namespace netglobe
