#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/pilot_positions.h"
#include "layers/rgba.h"
#include "scene/layer.h"

namespace netglobe {

// Light cyan: no other layer draws in it, so the line of the pilot in the
// details panel stands out from the course lines and trails.
inline constexpr Rgba kDestinationLineColour{0.4f, 1.0f, 1.0f, 1};
inline constexpr float kDestinationLineWidth = 2;
// Longest piece of the line, in degrees of arc: short enough that the
// chords stay close to the sphere.
inline constexpr double kDestinationStepDegrees = 2;

// What list 19 shows of the pilot in the details panel.
struct PanelFlight {
  std::string callsign, memberid;
  // Both set: the great-circle line from the pilot to its destination.
  std::optional<double> lat, lon, destlat, destlon;
};

// List 19: the great-circle line from the pilot to its destination as line
// segments on the overlay shell (ending exactly where the destination's
// point lies), and its trail through the frames up to endms, by the rules
// of the trails. Nothing when there is no pilot; no line for an antipodal
// destination, whose great circle is not one. No selection names.
Layer drawpanelflight(const std::optional<PanelFlight>& flight,
                      const std::vector<PositionFrame>& frames, std::int64_t endms);

}  // namespace netglobe
