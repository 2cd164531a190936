#pragma once

#include <string_view>

#include "layers/rgba.h"
#include "refdata/network_tables.h"

namespace netglobe {

// How a pilot's disc tells it apart: rim red; bound for a home aerodrome
// green and 0.015 larger; a friend blue and 0.015 larger; a friend bound for
// home blue and 0.03 larger. Its trail takes the rim colour.
struct PilotMark {
  Rgba rim;
  double grow;  // degrees of latitude added to the disc radius
};
PilotMark pilotmark(std::string_view destination, std::string_view memberid,
                    const FriendIds& friends);

}  // namespace netglobe
