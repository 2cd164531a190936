#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "session/traffic_plan.h"

namespace netglobe {

// The switches the traffic builders read besides the lists and the
// reference directories.
struct TrafficSwitches {
  int actfirmode = 1;
  int pilotlabelmode = 1;
  std::vector<std::string> friends;
  bool operator==(const TrafficSwitches&) const = default;
};

// The traffic layers of one live answer, built by the download's worker
// right after its parse, so that the window's thread only compiles them.
// A layer is handed out only to a show of that same answer whose switches
// are still those it was built with; anything else builds its own, as
// before.
class PrebuiltTraffic {
 public:
  PrebuiltTraffic() = default;

  // Builds every layer of `plan` from the answer's lists and copy (null:
  // the stored copy at statuspath), as the show's steps would.
  static PrebuiltTraffic build(std::span<const PlannedLayer> plan, const StatusLists& lists,
                               const std::string* copytext, const std::string& statuspath,
                               const RefDirectories& refs, TrafficSwitches switches);

  // Which answer the layers belong to (the session numbers its answers).
  void belongto(std::uint64_t answer) { answer_ = answer; }

  // The layer a show's step asks for, taken out; none when this answer's
  // build does not hold it as the step would build it now.
  std::optional<Layer> take(TrafficLayer layer, double size, std::uint64_t answer,
                            const TrafficSwitches& now);

  bool empty() const { return layers_.empty(); }

 private:
  struct Built {
    TrafficLayer layer;
    double size;
    std::optional<Layer> built;
  };
  std::uint64_t answer_ = 0;
  TrafficSwitches switches_;
  std::vector<Built> layers_;
};

}  // namespace netglobe
