#include "session/traffic_prebuild.h"

#include <utility>

namespace netglobe {

PrebuiltTraffic PrebuiltTraffic::build(std::span<const PlannedLayer> plan, const StatusLists& lists,
                                       const std::string* copytext, const std::string& statuspath,
                                       const RefDirectories& refs, TrafficSwitches switches) {
  PrebuiltTraffic out;
  const FriendIds friends(switches.friends);
  const TrafficSources from{lists,    refs, friends, statuspath, switches.actfirmode,
                            switches.pilotlabelmode, copytext};
  for (const PlannedLayer& planned : plan) {
    out.layers_.push_back({planned.layer, planned.size, buildtraffic(planned.layer, planned.size, from)});
  }
  out.switches_ = std::move(switches);
  return out;
}

std::optional<Layer> PrebuiltTraffic::take(TrafficLayer layer, double size, std::uint64_t answer,
                                           const TrafficSwitches& now) {
  if (answer == 0 || answer != answer_ || !(now == switches_)) return std::nullopt;
  for (Built& built : layers_) {
    if (built.layer == layer && built.size == size && built.built) {
      std::optional<Layer> out = std::move(built.built);
      built.built.reset();
      return out;
    }
  }
  return std::nullopt;
}

}  // namespace netglobe
