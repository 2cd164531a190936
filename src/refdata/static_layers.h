#pragma once

#include <string>

#include "render/draw_list.h"
#include "render/scene_state.h"

namespace netglobe {

// A static layer as its builder leaves it: the commands of one numbered list
// and what the caller sets once that list is compiled. The ready flag is set
// whatever the reference file held: a missing or broken file gives an empty
// or shortened layer, never a missing one.
struct StaticLayer {
  int list = 0;
  DrawList ops;
  int SceneState::*readyflag = nullptr;
  // Above 0: the point size to set right before compiling, outside the list.
  float pointsize = 0;
};

// The 10-degree graticule, list 2: 37 meridians of 60 three-degree segments,
// then 37 half-circle sweeps of 60 segments whose latitudes run past 90 so
// that together they close every parallel. Point size 1 comes with it.
StaticLayer drawgrade();

// The coastlines of folder/coastline.dat, list 6. Reading stops at the first
// line that is neither a coordinate pair nor "end"; what was read stays.
StaticLayer drawcoast(const std::string& folder);

// All FIR outlines of folder/fir1.dat, list 4, one closed loop per block.
// Reading stops at "!!", at the end of the file or at a line that is not a
// coordinate pair; what was read stays and every loop is closed.
StaticLayer drawfirs(const std::string& folder);

}  // namespace netglobe
