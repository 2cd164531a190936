// The status-file parse at several network sizes, every client listed.

#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "feed/status_lists.h"
#include "feed/status_parser.h"
#include "snapshot.h"

namespace {

void setclientcounters(benchmark::State& state, int clients) {
  state.counters["clients"] = clients;
  // Seconds per client line, shown with the time unit's prefixes.
  state.counters["per_client"] = benchmark::Counter(
      clients, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_what2array(benchmark::State& state) {
  const int clients = static_cast<int>(state.range(0));
  const std::string path = netbench::storedsnapshot(clients);
  netglobe::StatusLists lists;
  for (auto _ : state) {
    netglobe::what2array(path, lists);
    benchmark::DoNotOptimize(lists.clicount);
  }
  const auto connected = netbench::network(clients).clients(netbench::kTime).size();
  if (lists.clicount != static_cast<int>(connected)) {
    state.SkipWithError("the parse did not see every client");
  }
  setclientcounters(state, lists.clicount);
}
BENCHMARK(BM_what2array)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

// What netsim spends on one answer before sending it.
void BM_netsim_snapshot(benchmark::State& state) {
  const int clients = static_cast<int>(state.range(0));
  const netsim::Network& net = netbench::network(clients);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = netsim::snapshot(net, netbench::kTime);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  setclientcounters(state, static_cast<int>(net.clients(netbench::kTime).size()));
}
BENCHMARK(BM_netsim_snapshot)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
