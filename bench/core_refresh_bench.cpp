// The core part of one refresh at 600, 3000 and 10000 places of netsim, as
// the window runs it: download from netsim on loopback, conversion, the
// stored copy and the parse (one getwhazz), the directory check, the six
// traffic builders, the five side lists and the four label lists (pilot
// labels in their richest mode). Counters give each step's mean time, so
// the shares come from the same run as the total.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>

#include "bench_support.h"
#include "feed/feed_refresh.h"
#include "lists/side_lists.h"
#include "session/traffic_plan.h"
#include "refdata/directories.h"
#include "refdata/network_tables.h"

namespace {

struct QuietHost : netglobe::FeedHost {
  void settitle(const std::string&) override {}
};

using Clock = std::chrono::steady_clock;

void BM_CoreRefresh(benchmark::State& state) {
  const int places = static_cast<int>(state.range(0));
  netglobe::FeedState feed;
  feed.folder = netbench::scratchfolder() + "/core" + std::to_string(places);
  std::filesystem::create_directories(feed.folder);
  feed.source = netbench::netsimserver(places).address();
  QuietHost host;
  netglobe::RefDirectories refs(NETGLOBE_DATA_DIR);
  const netglobe::FriendIds friends;
  const std::string path = netglobe::statusfilepath(feed.folder);

  std::map<std::string, double> spent;  // seconds per step over all iterations
  Clock::time_point mark;
  const auto step = [&](const char* name) {
    const Clock::time_point now = Clock::now();
    spent[name] += std::chrono::duration<double>(now - mark).count();
    mark = now;
  };
  for (auto _ : state) {
    mark = Clock::now();
    refs.refresh();
    step("directories");
    netglobe::getwhazz(feed, host);
    step("getwhazz");
    if (!feed.lastfailure.empty()) {
      state.SkipWithError(feed.lastfailure.c_str());
      break;
    }
    const netglobe::StatusLists& l = feed.lists;
    const netglobe::TrafficSources sources{l, refs, friends, path, 1, 5};
    std::vector<netglobe::Layer> layers;
    const auto build = [&](bool labels) {
      for (const netglobe::PlannedLayer& planned : netglobe::refreshplan()) {
        if ((planned.layer >= netglobe::TrafficLayer::CtrLabels) == labels) {
          layers.push_back(netglobe::buildtraffic(planned.layer, planned.size, sources));
        }
      }
    };
    build(false);
    step("traffic");
    const netglobe::ObsLists obs = netglobe::getobs(path);
    const netglobe::SideList lists[] = {netglobe::getfriends(path, friends), netglobe::getedbb(path, refs),
                                        netglobe::getinbound(l), netglobe::getoutbound(l)};
    step("sidelists");
    build(true);
    step("labels");
    benchmark::DoNotOptimize(layers.data());
    benchmark::DoNotOptimize(&obs);
    benchmark::DoNotOptimize(&lists);
  }
  for (const auto& [name, seconds] : spent) {
    state.counters[name + "_ms"] = 1000.0 * seconds / static_cast<double>(state.iterations());
  }
  state.counters["clients"] = feed.lists.clicount;
}
BENCHMARK(BM_CoreRefresh)->Arg(600)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
