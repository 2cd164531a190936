// The history store on a simulated network that moves on every 30 s: what a
// kept refresh costs on disk and in time, opening a day of it, stepping back
// through it; the trails built from its pilot positions.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "feed/status_parser.h"
#include "history/history_store.h"
#include "history/pilot_positions.h"
#include "layers/trail_layer.h"

namespace {

using netglobe::HistoryStore;
constexpr std::int64_t kStepMs = 30'000;
constexpr std::int64_t kStartMs = netbench::kTime * 1000;
constexpr int kRefreshesPerDay = 24 * 3600 / 30;

std::string freshfolder(const std::string& name) {
  const std::string dir = netbench::scratchfolder() + "/" + name;
  std::filesystem::remove_all(dir);
  return dir;
}

// The snapshots of steps 0 to count - 1, made once per size.
const std::vector<std::string>& moving(int clients, int count) {
  static std::map<int, std::vector<std::string>> made;
  std::vector<std::string>& steps = made[clients];
  while (static_cast<int>(steps.size()) < count) {
    steps.push_back(netbench::movingsnapshot(clients, static_cast<int>(steps.size())));
  }
  return steps;
}

double msince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Three full cycles of kFullEvery refreshes: the share of full refreshes
// on disk is the one of a long run.
void BM_history_keep(benchmark::State& state) {
  const int clients = static_cast<int>(state.range(0));
  const int count = 3 * static_cast<int>(netglobe::kFullEvery);
  const std::vector<std::string>& steps = moving(clients, count);
  HistoryStore store(freshfolder("keep-" + std::to_string(clients)),
                     netglobe::HistoryRetention::hours(24));
  int step = 0;
  double fullms = 0, deltams = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const netglobe::KeepResult kept = store.keep(steps[step], kStartMs + step * kStepMs);
    (step % netglobe::kFullEvery == 0 ? fullms : deltams) += msince(start);
    if (kept.outcome != netglobe::KeepOutcome::Kept) state.SkipWithError("a refresh was not kept");
    ++step;
  }
  const double perrefresh = double(store.diskbytes()) / step;
  state.counters["raw_KB"] = double(steps[0].size()) / 1000;
  state.counters["disk_KB_per_refresh"] = perrefresh / 1000;
  state.counters["disk_MB_per_24h"] = perrefresh * kRefreshesPerDay / 1e6;
  state.counters["full_ms"] = fullms / 3;
  state.counters["delta_ms"] = deltams / (step - 3);
}
BENCHMARK(BM_history_keep)->Arg(600)->Arg(3000)->Arg(10000)->Iterations(60)
    ->Unit(benchmark::kMillisecond);

// A day of a 3000-place network, made once: 120 snapshots of an hour, run
// forth and back so that each refresh differs from the one before it as
// much as a real one does.
const std::string& dayfolder() {
  static const std::string dir = [] {
    const std::string d = freshfolder("day");
    const std::vector<std::string>& steps = moving(3000, 120);
    HistoryStore store(d, netglobe::HistoryRetention::hours(24));
    for (int i = 0; i < kRefreshesPerDay; ++i) {
      const int cycle = i % 238;  // 0..119, then 118..1
      store.keep(steps[cycle < 120 ? cycle : 238 - cycle], kStartMs + i * kStepMs);
    }
    return d;
  }();
  return dir;
}

constexpr std::int64_t kDayEndMs = kStartMs + (kRefreshesPerDay - 1) * kStepMs;

// What a start does in the background, and then on the window's thread.
void BM_history_open_day(benchmark::State& state) {
  const std::string& dir = dayfolder();
  std::size_t refreshes = 0;
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    HistoryStore store(dir, netglobe::HistoryRetention::hours(24));
    store.adopt(netglobe::scanhistory(dir), kDayEndMs);
    refreshes = store.size();
    bytes = store.diskbytes();
  }
  if (refreshes != std::size_t(kRefreshesPerDay)) state.SkipWithError("the day did not read back");
  state.counters["refreshes"] = double(refreshes);
  state.counters["disk_MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_history_open_day)->Unit(benchmark::kMillisecond);

HistoryStore& daystore() {
  static HistoryStore store(dayfolder(), netglobe::HistoryRetention::hours(24));
  static const bool adopted = (store.adopt(netglobe::scanhistory(dayfolder()), kDayEndMs), true);
  (void)adopted;
  return store;
}

// Replay stepping back one kept refresh at a time, from the newest: most
// steps find their text unpacked already, one in kFullEvery unpacks the
// segment before.
void BM_history_step_back(benchmark::State& state) {
  HistoryStore& store = daystore();
  std::size_t i = store.size();
  for (auto _ : state) {
    i = i == 0 ? store.size() - 1 : i - 1;
    const netglobe::HistoryText text = store.read(i);
    if (!text.ok) state.SkipWithError(text.failure.c_str());
    benchmark::DoNotOptimize(text.text.data());
  }
}
BENCHMARK(BM_history_step_back)->Unit(benchmark::kMillisecond);

// The slowest step: the newest refresh of a segment none of whose texts
// are unpacked, kFullEvery refreshes unpacked. Three segments in turn, so
// each read finds neither of the two it keeps unpacked.
void BM_history_read_cold(benchmark::State& state) {
  HistoryStore& store = daystore();
  std::size_t k = 0;
  for (auto _ : state) {
    const std::size_t i = store.size() - 1 - netglobe::kFullEvery * (1 + k++ % 3);
    const netglobe::HistoryText text = store.read(i);
    if (!text.ok) state.SkipWithError(text.failure.c_str());
  }
}
BENCHMARK(BM_history_read_cold)->Unit(benchmark::kMillisecond);

// One replay step back as the history sees it: the shown refresh read, and
// the trail positions of its half hour brought along (one refresh more to
// decode, from a segment further back). 600 steps from the newest: five
// hours, thirty segments entered at each end of the window.
void BM_history_step_back_with_trails(benchmark::State& state) {
  HistoryStore& store = daystore();
  store.dropunpacked();
  netglobe::PositionFrames frames;
  std::size_t i = store.size() - 1;
  frames.update(store, store.at(i).receiptms, netglobe::kTrailWindowMs);
  for (auto _ : state) {
    --i;
    const netglobe::HistoryText text = store.read(i);
    if (!text.ok) state.SkipWithError(text.failure.c_str());
    frames.update(store, store.at(i).receiptms, netglobe::kTrailWindowMs);
  }
  state.counters["frames"] = double(frames.frames().size());
}
BENCHMARK(BM_history_step_back_with_trails)->Iterations(600)->Unit(benchmark::kMillisecond);

constexpr int kTrailClients = 3000;
constexpr int kTrailRefreshes = 60;  // 30 minutes

const std::vector<netglobe::PositionFrame>& trailframes() {
  static const std::vector<netglobe::PositionFrame> frames = [] {
    std::vector<netglobe::PositionFrame> f;
    const std::vector<std::string>& steps = moving(kTrailClients, kTrailRefreshes);
    for (int i = 0; i < kTrailRefreshes; ++i) {
      f.push_back({std::uint64_t(i + 1), kStartMs + i * kStepMs, netglobe::decodepositions(steps[i])});
    }
    return f;
  }();
  return frames;
}

void BM_trails_decode(benchmark::State& state) {
  const std::string& text = moving(kTrailClients, kTrailRefreshes).back();
  std::size_t pilots = 0;
  for (auto _ : state) {
    const std::vector<netglobe::PilotPosition> p = netglobe::decodepositions(text);
    pilots = p.size();
  }
  state.counters["pilots"] = double(pilots);
}
BENCHMARK(BM_trails_decode)->Unit(benchmark::kMillisecond);

void BM_trails_build(benchmark::State& state) {
  const std::vector<netglobe::PositionFrame>& frames = trailframes();
  netglobe::StatusLists lists;
  netglobe::what2array(netglobe::LineReader::fromtext(moving(kTrailClients, kTrailRefreshes).back()),
                       lists);
  const netglobe::FriendIds friends;
  std::size_t vertices = 0;
  for (auto _ : state) {
    const netglobe::Layer layer = netglobe::drawtrails(frames, lists, friends, frames.back().receiptms);
    vertices = layer.ops.countof(netglobe::DrawOp::Kind::Vertex);
  }
  state.counters["drawn_pilots"] = lists.pilcount;
  state.counters["vertices"] = double(vertices);
}
BENCHMARK(BM_trails_build)->Unit(benchmark::kMillisecond);

}  // namespace
