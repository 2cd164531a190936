#include "refdata/network_tables.h"

#include <algorithm>
#include <utility>

namespace netglobe {

bool isfriend(std::string_view memberid) {
  return std::find(friendids.begin(), friendids.end(), memberid) != friendids.end();
}

bool ishomeairport(std::string_view icao) {
  return std::find(homeairports.begin(), homeairports.end(), icao) != homeairports.end();
}

std::string_view ratingtext(std::string_view code) {
  static constexpr std::pair<std::string_view, std::string_view> kTable[] = {
      {"1", "--"}, {"2", "S1"}, {"3", "S2"}, {"4", "S3"},  {"5", "C1"},
      {"6", "C2"}, {"7", "C3"}, {"8", "I1"}, {"11", "SUP"}, {"12", "ADM"}};
  for (const auto& [key, text] : kTable) {
    if (key == code) return text;
  }
  return code;
}

}  // namespace netglobe
