#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace netglobe {

// The built-in circle of friends: member ids compared for text equality with
// field 2 of a client line. The demo network gives these ids to a few clients.
inline constexpr std::array<std::string_view, 11> friendids = {
    "811402", "811957", "812233", "813640", "814075", "815518",
    "816302", "817744", "818190", "819026", "820461"};

// The fixed home aerodromes, in their listing order; membership is exact.
inline constexpr std::array<std::string_view, 14> homeairports = {
    "EDDT", "EDDI", "EDDB", "EDDP", "EDDE", "EDDC", "ETNL",
    "EDOP", "EDBM", "EDAC", "EDAB", "ETNU", "EDBC", "ETSH"};

bool isfriend(std::string_view memberid);

// The friends the program colours and lists: the built-in circle unless the
// user gave a list of their own.
class FriendIds {
 public:
  FriendIds() : ids_(friendids.begin(), friendids.end()) {}
  explicit FriendIds(std::vector<std::string> ids) : ids_(std::move(ids)) {}
  bool contains(std::string_view memberid) const {
    for (const std::string& id : ids_) {
      if (id == memberid) return true;
    }
    return false;
  }
  const std::vector<std::string>& ids() const { return ids_; }

 private:
  std::vector<std::string> ids_;
};
bool ishomeairport(std::string_view icao);

// Rating abbreviation for a member rating code; unknown codes are shown as
// they are.
std::string_view ratingtext(std::string_view code);

}  // namespace netglobe
