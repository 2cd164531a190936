// The client search on a netsim snapshot of 10000 places: building the
// index from the stored copy (once a refresh) apart from one keystroke's
// match against it, for texts of the kinds a user types.

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "bench_support.h"
#include "lists/client_index.h"
#include "lists/client_search.h"

namespace {

constexpr int kPlaces = 10000;

const std::string& copypath() {
  static const std::string path = netbench::storedsnapshot(kPlaces);
  return path;
}

const netglobe::ClientIndex& index() {
  static const auto made = std::make_unique<netglobe::ClientIndex>(copypath());
  return *made;
}

void BM_Search_indexbuild(benchmark::State& state) {
  std::size_t clients = 0;
  for (auto _ : state) {
    const netglobe::ClientIndex built(copypath());
    clients = built.size();
    benchmark::DoNotOptimize(clients);
  }
  state.counters["clients"] = static_cast<double>(clients);
}
BENCHMARK(BM_Search_indexbuild)->Unit(benchmark::kMillisecond);

// A client from the middle of the copy, so the texts are ones that exist.
const netglobe::ClientEntry& someone() { return index()[index().size() / 2]; }

void keystroke(benchmark::State& state, const std::function<std::string()>& text) {
  const std::string typed = text();
  std::size_t total = 0;
  for (auto _ : state) {
    const netglobe::ClientSearch found = netglobe::searchclients(index(), typed);
    total = found.total;
    benchmark::DoNotOptimize(total);
  }
  state.counters["clients"] = static_cast<double>(index().size());
  state.counters["matches"] = static_cast<double>(total);
}

BENCHMARK_CAPTURE(keystroke, first_letter, [] { return std::string("e"); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(keystroke, callsign_start, [] { return someone().callsign.substr(0, 3); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(keystroke, whole_callsign, [] { return someone().callsign; })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(keystroke, member_id_digits, [] { return someone().memberid.substr(0, 3); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(keystroke, name_part, [] { return someone().name.substr(1, 4); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(keystroke, no_match, [] { return std::string("zqxj"); })
    ->Unit(benchmark::kMicrosecond);

}  // namespace
