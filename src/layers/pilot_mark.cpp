#include "layers/pilot_mark.h"

namespace netglobe {

PilotMark pilotmark(std::string_view destination, std::string_view memberid,
                    const FriendIds& friends) {
  PilotMark mark{{1, 0, 0, 1}, 0};
  if (ishomeairport(destination)) {
    mark.rim = {0, 0.5f, 0, 1};
    mark.grow += 0.015;
  }
  if (friends.contains(memberid)) {
    mark.rim = {0, 0, 1, 1};
    mark.grow += 0.015;
  }
  return mark;
}

}  // namespace netglobe
