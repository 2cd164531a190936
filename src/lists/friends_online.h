#pragma once

#include <string>
#include <vector>

#include "base/line_reader.h"
#include "refdata/network_tables.h"

namespace netglobe {

// What to say about friends after a live refresh (windows-1252).
struct FriendNews {
  std::string statusline;            // empty: nothing to say
  std::vector<std::string> notices;  // one desktop notification each
};

// Tells which friends came online from one live refresh to the next. The
// first refresh names every friend online in one line and one notice; after
// that each friend whose member id was in no client line of the refresh
// before is "CALLSIGN (NAME) is online". Kept refreshes shown in replay never
// come here.
class FriendsOnline {
 public:
  FriendNews seen(LineReader copy, const FriendIds& friends);

 private:
  bool first_ = true;
  std::vector<std::string> previous_;  // member ids of the refresh before, sorted
};

}  // namespace netglobe
