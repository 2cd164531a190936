#pragma once

#include <string>

#include "base/line_reader.h"
#include "scene/layer.h"

namespace netglobe {

// The 10-degree graticule, list 2: 37 meridians of 60 three-degree segments,
// then 37 half-circle sweeps of 60 segments whose latitudes run past 90 so
// that together they close every parallel. Point size 1 comes with it.
Layer drawgrade();

// The coastlines of coastline.dat at path, list 6. Reading stops at the first
// line that is neither a coordinate pair nor "end"; what was read stays.
Layer drawcoast(const std::string& path);
Layer drawcoast(LineReader coastline);

// All FIR outlines of fir1.dat at path, list 4, one closed loop per block.
// Reading stops at "!!", at the end of the file or at a line that is not a
// coordinate pair; what was read stays and every loop is closed.
Layer drawfirs(const std::string& path);
Layer drawfirs(LineReader fir1);

}  // namespace netglobe
