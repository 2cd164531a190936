// The six traffic builders producing their drawing commands from a parsed
// netsim snapshot, with the shipped reference data, at several network
// sizes, every client of the network drawn.

#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "bench_support.h"
#include "feed/status_parser.h"
#include "session/traffic_plan.h"

namespace {

struct Snapshot {
  std::string path;  // the stored copy, which the chief layer reads itself
  netglobe::StatusLists lists;
};

const Snapshot& snapshot(int clients) {
  static std::map<int, Snapshot> snapshots;
  Snapshot& s = snapshots[clients];
  if (s.path.empty()) {
    s.path = netbench::storedsnapshot(clients);
    netglobe::what2array(s.path, s.lists);
  }
  return s;
}

const netglobe::RefDirectories& refs() {
  static const netglobe::RefDirectories dirs = [] {
    netglobe::RefDirectories d(NETGLOBE_DATA_DIR);
    d.refresh();
    return d;
  }();
  return dirs;
}

template <class Build>
void buildlayer(benchmark::State& state, Build build) {
  const Snapshot& s = snapshot(static_cast<int>(state.range(0)));
  const netglobe::RefDirectories& dirs = refs();
  std::size_t ops = 0;
  for (auto _ : state) {
    const netglobe::Layer layer = build(s, dirs);
    if (!layer.failure.empty()) {
      state.SkipWithError(layer.failure.c_str());
      break;
    }
    ops = layer.ops.ops().size();
    benchmark::DoNotOptimize(layer.ops.ops().data());
  }
  state.counters["ops"] = static_cast<double>(ops);
  state.counters["pilots"] = s.lists.pilcount;
  state.counters["stations"] = s.lists.appcount + s.lists.ctrcount + s.lists.twrcount;
}

using netglobe::RefDirectories;
using netglobe::TrafficLayer;

// One traffic layer at the size a refresh builds it with.
void traffic(benchmark::State& state, TrafficLayer which) {
  const netglobe::FriendIds friends;
  buildlayer(state, [&](const Snapshot& s, const RefDirectories& d) {
    for (const netglobe::PlannedLayer& planned : netglobe::refreshplan()) {
      if (planned.layer == which) {
        return netglobe::buildtraffic(which, planned.size, {s.lists, d, friends, s.path});
      }
    }
    return netglobe::Layer{};
  });
}

void BM_Traffic_drawaircraft(benchmark::State& state) { traffic(state, TrafficLayer::Aircraft); }
void BM_Traffic_drawaircraftdir(benchmark::State& state) { traffic(state, TrafficLayer::Direction); }
void BM_Traffic_drawapp(benchmark::State& state) { traffic(state, TrafficLayer::Approach); }
void BM_Traffic_drawtwr(benchmark::State& state) { traffic(state, TrafficLayer::Tower); }
void BM_Traffic_drawactfir(benchmark::State& state) { traffic(state, TrafficLayer::ActiveFir); }
void BM_Traffic_drawchiefs(benchmark::State& state) { traffic(state, TrafficLayer::Chiefs); }

// All six in the order of a refresh.
void BM_Traffic_all(benchmark::State& state) {
  const netglobe::FriendIds friends;
  const Snapshot& s = snapshot(static_cast<int>(state.range(0)));
  const netglobe::TrafficSources sources{s.lists, refs(), friends, s.path};
  for (auto _ : state) {
    for (const netglobe::PlannedLayer& planned : netglobe::refreshplan()) {
      if (planned.layer >= TrafficLayer::CtrLabels) continue;
      benchmark::DoNotOptimize(netglobe::buildtraffic(planned.layer, planned.size, sources).ops.ops().data());
    }
  }
}

#define TRAFFIC_SIZES(bm) BENCHMARK(bm)->Arg(600)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond)
TRAFFIC_SIZES(BM_Traffic_drawaircraft);
TRAFFIC_SIZES(BM_Traffic_drawaircraftdir);
TRAFFIC_SIZES(BM_Traffic_drawapp);
TRAFFIC_SIZES(BM_Traffic_drawtwr);
TRAFFIC_SIZES(BM_Traffic_drawactfir);
TRAFFIC_SIZES(BM_Traffic_drawchiefs);
TRAFFIC_SIZES(BM_Traffic_all);

}  // namespace
