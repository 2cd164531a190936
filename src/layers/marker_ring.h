#pragma once

#include "layers/rgba.h"
#include "scene/layer.h"

namespace netglobe {

// Magenta: no other layer draws in it, so the ring cannot be taken for
// something on the globe.
inline constexpr Rgba kMarkerColour{1, 0, 1, 1};

// Radius of the ring in degrees of latitude: about 30 pixels at the distance
// a flight to a client ends at, well outside an aircraft's disc.
inline constexpr double kMarkerRadius = 0.3;

// List 17: a ring around the client at lat/lon, widened by 1/cos of each
// vertex's latitude like the discs so it looks round on the globe. It sets
// its own line width and colour and carries no selection name.
Layer drawmarker(double lat, double lon);

}  // namespace netglobe
