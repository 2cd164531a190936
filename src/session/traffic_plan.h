#pragma once

#include <span>
#include <string>

#include "feed/status_lists.h"
#include "refdata/directories.h"
#include "refdata/friends_file.h"
#include "scene/key_table.h"
#include "scene/layer.h"

namespace netglobe {

// The layers rebuilt from every status file: the traffic and the labels.
enum class TrafficLayer {
  Aircraft,
  Direction,
  ActiveFir,
  Chiefs,
  Approach,
  Tower,
  CtrLabels,
  AprLabels,
  TwrLabels,
  PilotLabels,
};

// One layer of a plan with its symbol size (0 where it takes none). A log
// line, where there is one, is written before the layer, and the window
// handles its events and shows a frame between two such groups.
struct PlannedLayer {
  TrafficLayer layer;
  double size = 0;
  const char* logline = nullptr;
};

// Startup builds the traffic after the first download in this order, the
// towers at 0.1; each refresh in its own, the towers at 0.08. Both draw
// aircraft at 0.05 and approaches at 0.8 whatever the symbol-size switch
// says, so an enlargement lasts until the next refresh.
std::span<const PlannedLayer> startupplan();
std::span<const PlannedLayer> refreshplan();

// What the builders read.
struct TrafficSources {
  const StatusLists& lists;
  const RefDirectories& refs;
  const FriendIds& friends;
  std::string statuspath;  // the stored copy, read by the chiefs layer
  int actfirmode = 1;
  int pilotlabelmode = 1;
  const std::string* copytext = nullptr;  // instead of the stored copy (a kept refresh)
};

Layer buildtraffic(TrafficLayer layer, double size, const TrafficSources& from);

// The layer a key asks for, with the key's own size.
Layer buildtraffic(const Rebuild& rebuild, const TrafficSources& from);

}  // namespace netglobe
