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
#include "layers/aircraft_layers.h"
#include "layers/fir_layers.h"
#include "layers/station_layers.h"
#include "lists/pilot_labels.h"
#include "lists/side_lists.h"
#include "lists/station_labels.h"
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
    std::vector<netglobe::Layer> layers;
    layers.push_back(netglobe::drawaircraft(l, friends, 0.05));
    layers.push_back(netglobe::drawaircraftdir(l, refs.airports));
    layers.push_back(netglobe::drawactfir(l, refs.firs, refs.outlines, 1));
    layers.push_back(netglobe::drawchiefs(path, refs.outlines));
    layers.push_back(netglobe::drawapp(l, refs.airports, 0.8));
    layers.push_back(netglobe::drawtwr(l, refs.airports, 0.08));
    step("traffic");
    const netglobe::ObsLists obs = netglobe::getobs(path);
    const netglobe::SideList lists[] = {netglobe::getfriends(path, friends), netglobe::getedbb(path),
                                        netglobe::getinbound(l), netglobe::getoutbound(l)};
    step("sidelists");
    layers.push_back(netglobe::showctrname(l, refs.firs));
    layers.push_back(netglobe::showaprname(l, refs.airports, refs.firs));
    layers.push_back(netglobe::showtwrname(l, refs.airports));
    layers.push_back(netglobe::showpilotname(l, refs.airports, 5));
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
