// Reading a JSON status document of either layout into the text layout,
// beside the text parse of the same network, and the parse alone of the
// other JSON library we have (the reason simdjson reads them).

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "bench_support.h"
#include "feed/json_status.h"
#include "feed/status_lists.h"
#include "feed/status_parser.h"
#include "json_snapshot.h"
#include "snapshot.h"

namespace {

std::string document(int clients, netsim::Layout layout) {
  netsim::SnapshotOptions options;
  options.layout = layout;
  return netsim::snapshot(netbench::network(clients), netbench::kTime, options);
}

void setcounters(benchmark::State& state, std::size_t bytes, int clients) {
  state.counters["clients"] = clients;
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

// Detection, parse and conversion of a whole document, as the download's
// thread does it.
void BM_json_read(benchmark::State& state, netsim::Layout layout) {
  const int clients = static_cast<int>(state.range(0));
  std::string doc = document(clients, layout);
  netglobe::JsonStatus status;
  for (auto _ : state) {
    status = netglobe::readjsonstatus(doc);
    benchmark::DoNotOptimize(status.text.data());
  }
  if (!status.ok || status.skipped != 0) state.SkipWithError("the document did not read whole");
  setcounters(state, doc.size(), static_cast<int>(netbench::network(clients).clients(netbench::kTime).size()));
}
BENCHMARK_CAPTURE(BM_json_read, layout_a, netsim::Layout::A)
    ->Arg(600)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_json_read, layout_b, netsim::Layout::B)
    ->Arg(600)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The text parse of the same network (what a refresh does next with the
// converted text too).
void BM_text_parse(benchmark::State& state) {
  const int clients = static_cast<int>(state.range(0));
  const std::string text = document(clients, netsim::Layout::Text);
  netglobe::StatusLists lists;
  for (auto _ : state) {
    netglobe::what2array(netglobe::LineReader::fromtext(text), lists);
    benchmark::DoNotOptimize(lists.clicount);
  }
  setcounters(state, text.size(), lists.clicount);
}
BENCHMARK(BM_text_parse)->Arg(600)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

// nlohmann-json's parse alone, without any conversion.
void BM_nlohmann_parse(benchmark::State& state, netsim::Layout layout) {
  const int clients = static_cast<int>(state.range(0));
  const std::string doc = document(clients, layout);
  for (auto _ : state) {
    const nlohmann::json parsed = nlohmann::json::parse(doc);
    benchmark::DoNotOptimize(parsed.size());
  }
  setcounters(state, doc.size(), clients);
}
BENCHMARK_CAPTURE(BM_nlohmann_parse, layout_a, netsim::Layout::A)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_nlohmann_parse, layout_b, netsim::Layout::B)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
