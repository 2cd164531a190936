// One refresh against netsim on loopback at 3000 clients, stage by stage:
// download, conversion to the program's encoding and line ends, the write of
// the local copy, the parse; and the whole refresh in one piece.

#include <benchmark/benchmark.h>

#include <memory>

#include "bench_support.h"
#include "feed/feed_refresh.h"
#include "feed/http_fetch.h"
#include "feed/status_copy.h"
#include "feed/status_parser.h"
#include "base/text_encoding.h"

namespace {

constexpr int kClients = 3000;

const std::string& downloaded() {
  static const std::string body = netglobe::fetchstatus({netbench::netsimserver(kClients).address()}).body;
  return body;
}

void BM_getwhazz_download(benchmark::State& state) {
  const netglobe::ServerAddress address = netbench::netsimserver(kClients).address();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const netglobe::FetchResult result = netglobe::fetchstatus({address});
    if (!result.ok) {
      state.SkipWithError(result.failure.c_str());
      break;
    }
    bytes = result.body.size();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}
BENCHMARK(BM_getwhazz_download)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_getwhazz_convert(benchmark::State& state) {
  const std::string& body = downloaded();
  for (auto _ : state) {
    std::string text = netglobe::convertlineends(netglobe::tocp1252(body));
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(body.size()) * state.iterations());
}
BENCHMARK(BM_getwhazz_convert)->Unit(benchmark::kMillisecond);

void BM_getwhazz_write(benchmark::State& state) {
  const std::string text = netglobe::convertlineends(netglobe::tocp1252(downloaded()));
  const std::string path = netglobe::statusfilepath(netbench::scratchfolder());
  for (auto _ : state) {
    const std::string failure = netglobe::storecopy(path, text);
    if (!failure.empty()) {
      state.SkipWithError(failure.c_str());
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(text.size()) * state.iterations());
}
BENCHMARK(BM_getwhazz_write)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_getwhazz_parse(benchmark::State& state) {
  const std::string path = netglobe::statusfilepath(netbench::scratchfolder());
  netglobe::storecopy(path, netglobe::convertlineends(netglobe::tocp1252(downloaded())));
  netglobe::StatusLists lists;
  for (auto _ : state) {
    netglobe::what2array(path, lists);
    benchmark::DoNotOptimize(lists.clicount);
  }
  if (lists.clicount != static_cast<int>(netbench::network(kClients).clients(netbench::kTime).size())) {
    state.SkipWithError("the parse did not see every client");
  }
}
BENCHMARK(BM_getwhazz_parse)->Unit(benchmark::kMillisecond);

struct QuietHost : netglobe::FeedHost {
  void settitle(const std::string&) override {}
};

void BM_getwhazz_whole(benchmark::State& state) {
  netglobe::FeedState feed;
  feed.folder = netbench::scratchfolder();
  feed.source = netbench::netsimserver(kClients).address();
  QuietHost host;
  for (auto _ : state) {
    netglobe::getwhazz(feed, host);
    if (!feed.lastfailure.empty()) {
      state.SkipWithError(feed.lastfailure.c_str());
      break;
    }
  }
}
BENCHMARK(BM_getwhazz_whole)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
