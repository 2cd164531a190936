// The details panel on a network of 10000 places moving for 30 minutes:
// what the window's thread does when a pilot's panel opens (find its line,
// work out the values, the line to its destination and its trail through the
// 60 kept refreshes of the trail window, already decoded as for key t), and
// an aerodrome's panel (one pass over the pilot list).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "feed/client_fields.h"
#include "feed/status_parser.h"
#include "history/pilot_positions.h"
#include "session/details_panel.h"

namespace {

constexpr int kPlaces = 10000;
constexpr int kRefreshes = 60;  // the trail window: 30 minutes at 30 s
constexpr std::int64_t kStepMs = 30'000;
constexpr std::int64_t kStartMs = netbench::kTime * 1000;

struct Moving {
  std::vector<netglobe::PositionFrame> frames;
  netglobe::StatusLists lists;  // the newest refresh, as shown
  netglobe::AirportDirectory airports{std::string(NETGLOBE_DATA_DIR) + "/airports.dat"};
  std::string callsign, memberid, busiest;
};

const Moving& moving() {
  static const Moving m = [] {
    Moving m;
    std::string last;
    for (int i = 0; i < kRefreshes; ++i) {
      last = netbench::movingsnapshot(kPlaces, i);
      m.frames.push_back({std::uint64_t(i + 1), kStartMs + i * kStepMs, netglobe::decodepositions(last)});
    }
    netglobe::what2array(netglobe::LineReader::fromtext(last), m.lists);
    m.airports.refresh();
    // A pilot from the middle of the list, flying to a known aerodrome.
    for (int i = m.lists.pilcount / 2; i <= m.lists.pilcount; ++i) {
      const netglobe::ClientFields f(m.lists.pillines[std::size_t(i)], netglobe::kDestination);
      if (f(netglobe::kDestination).empty() || f(netglobe::kGroundSpeed) == "0") continue;
      m.callsign = f(netglobe::kCallsign);
      m.memberid = f(netglobe::kMemberId);
      m.busiest = f(netglobe::kDestination);
      break;
    }
    return m;
  }();
  return m;
}

void BM_Details_openpilot(benchmark::State& state) {
  const Moving& m = moving();
  std::size_t vertices = 0;
  for (auto _ : state) {
    netglobe::DetailsPanel panel;
    panel.openpilot(m.callsign, m.memberid);
    const netglobe::DetailsPanel::Shown shown = panel.show(m.lists, m.airports);
    const netglobe::Layer layer = netglobe::drawpanelflight(shown.flight, m.frames, m.frames.back().receiptms);
    vertices = layer.ops.countof(netglobe::DrawOp::Kind::Vertex);
    benchmark::DoNotOptimize(vertices);
  }
  state.counters["pilots"] = m.lists.pilcount;
  state.counters["vertices"] = double(vertices);
}
BENCHMARK(BM_Details_openpilot)->Unit(benchmark::kMicrosecond);

void BM_Details_openaerodrome(benchmark::State& state) {
  const Moving& m = moving();
  std::size_t lines = 0;
  for (auto _ : state) {
    netglobe::DetailsPanel panel;
    panel.openaerodrome(m.busiest);
    lines = panel.show(m.lists, m.airports).view.lines.size();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = double(lines);
}
BENCHMARK(BM_Details_openaerodrome)->Unit(benchmark::kMicrosecond);

}  // namespace
