// The globe filter on a netsim snapshot of 10000 places: reading the copy
// for matching (once a refresh) apart from one keystroke's matching, and the
// lists the traffic is then drawn from.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_support.h"
#include "feed/status_parser.h"
#include "lists/client_filter.h"
#include "session/globe_filter.h"

namespace {

constexpr int kPlaces = 10000;

const std::string& copypath() {
  static const std::string path = netbench::storedsnapshot(kPlaces);
  return path;
}

const netglobe::FilterIndex& index() {
  static const auto made = std::make_unique<netglobe::FilterIndex>(netglobe::LineReader(copypath()));
  return *made;
}

void BM_Filter_indexbuild(benchmark::State& state) {
  std::size_t clients = 0;
  for (auto _ : state) {
    const netglobe::FilterIndex built{netglobe::LineReader(copypath())};
    clients = built.size();
    benchmark::DoNotOptimize(clients);
  }
  state.counters["clients"] = static_cast<double>(clients);
}
BENCHMARK(BM_Filter_indexbuild)->Unit(benchmark::kMillisecond);

// One keystroke: the query read and matched against every client line.
void BM_Filter_keystroke(benchmark::State& state, const char* text) {
  std::size_t kept = 0;
  for (auto _ : state) {
    const netglobe::FilterQuery query = netglobe::parsefilter(text);
    const std::vector<std::uint8_t> flags = index().match(query);
    kept = 0;
    for (const std::uint8_t f : flags) kept += f;
    benchmark::DoNotOptimize(kept);
  }
  state.counters["clients"] = static_cast<double>(index().size());
  state.counters["kept"] = static_cast<double>(kept);
}

BENCHMARK_CAPTURE(BM_Filter_keystroke, to_prefix, "to:ED")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter_keystroke, to_aerodrome, "to:EDDF")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter_keystroke, type_and_level, "type:A32 above:FL300")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter_keystroke, pilots_low, "pilot below:FL100")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter_keystroke, plain_word, "e")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter_keystroke, four_words, "dlh to:ED type:A3 above:10000")->Unit(benchmark::kMicrosecond);

// Applying a filter after the keystroke: the matching lines as a copy and
// their parse into the lists the traffic builders read; the whole copy's
// parse for comparison, as a refresh makes it.
void BM_Filter_lists(benchmark::State& state, const char* text) {
  netglobe::StatusLists all;
  netglobe::what2array(copypath(), all);
  netglobe::GlobeFilter filter(netbench::scratchfolder());
  filter.set(text);
  filter.index(netglobe::LineReader(copypath()));
  int shown = 0;
  for (auto _ : state) {
    const netglobe::StatusLists lists = filter.lists(all);
    shown = lists.clicount;
    benchmark::DoNotOptimize(shown);
  }
  filter.set("");
  state.counters["shown"] = shown;
  state.counters["clients"] = all.clicount;
}
BENCHMARK_CAPTURE(BM_Filter_lists, to_aerodrome, "to:EDDF")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Filter_lists, pilots, "pilot")->Unit(benchmark::kMillisecond);

void BM_Filter_wholeparse(benchmark::State& state) {
  int clients = 0;
  for (auto _ : state) {
    netglobe::StatusLists lists;
    netglobe::what2array(copypath(), lists);
    clients = lists.clicount;
    benchmark::DoNotOptimize(clients);
  }
  state.counters["clients"] = clients;
}
BENCHMARK(BM_Filter_wholeparse)->Unit(benchmark::kMillisecond);

}  // namespace
