// The side lists and the labels of one refresh on netsim snapshots of
// several sizes, with the shipped reference data: each of the five list
// routines and four label builders (pilot labels in their richest mode),
// and all nine in a row with the parse before them.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "bench_support.h"
#include "feed/status_parser.h"
#include "lists/pilot_labels.h"
#include "lists/side_lists.h"
#include "lists/station_labels.h"
#include "refdata/directories.h"
#include "refdata/network_tables.h"

namespace {

// A stored copy, its parse and the reference directories, made once per size.
struct Refresh {
  std::string path;
  netglobe::StatusLists lists;
  netglobe::RefDirectories refs{NETGLOBE_DATA_DIR};
  netglobe::FriendIds friends;
};

const Refresh& refresh(int clients) {
  static std::map<int, std::unique_ptr<Refresh>> made;
  auto& r = made[clients];
  if (!r) {
    r = std::make_unique<Refresh>();
    r->path = netbench::storedsnapshot(clients);
    netglobe::what2array(r->path, r->lists);
    r->refs.refresh();
  }
  return *r;
}

template <class Build>
void run(benchmark::State& state, Build build) {
  const Refresh& r = refresh(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto built = build(r);
    benchmark::DoNotOptimize(built);
  }
  state.counters["clients"] = r.lists.clicount;
}

std::size_t rows(const netglobe::SideList& list) { return list.rows.size(); }
std::size_t ops(const netglobe::Layer& layer) { return layer.ops.ops().size(); }

void BM_Lists_getobs(benchmark::State& state) {
  run(state, [](const Refresh& r) { return rows(netglobe::getobs(r.path).listbox1); });
}
void BM_Lists_getfriends(benchmark::State& state) {
  run(state, [](const Refresh& r) { return rows(netglobe::getfriends(r.path, r.friends)); });
}
void BM_Lists_getedbb(benchmark::State& state) {
  run(state, [](const Refresh& r) { return rows(netglobe::getedbb(r.path, r.refs)); });
}
void BM_Lists_getinbound(benchmark::State& state) {
  run(state, [](const Refresh& r) { return rows(netglobe::getinbound(r.lists)); });
}
void BM_Lists_getoutbound(benchmark::State& state) {
  run(state, [](const Refresh& r) { return rows(netglobe::getoutbound(r.lists)); });
}
void BM_Lists_showctrname(benchmark::State& state) {
  run(state, [](const Refresh& r) { return ops(netglobe::showctrname(r.lists, r.refs.firs)); });
}
void BM_Lists_showaprname(benchmark::State& state) {
  run(state, [](const Refresh& r) {
    return ops(netglobe::showaprname(r.lists, r.refs.airports, r.refs.firs));
  });
}
void BM_Lists_showtwrname(benchmark::State& state) {
  run(state, [](const Refresh& r) { return ops(netglobe::showtwrname(r.lists, r.refs.airports)); });
}
void BM_Lists_showpilotname5(benchmark::State& state) {
  run(state,
      [](const Refresh& r) { return ops(netglobe::showpilotname(r.lists, r.refs.airports, 5)); });
}

// The parse, the five lists and the four label lists of one refresh.
void BM_Lists_parse_lists_labels(benchmark::State& state) {
  const Refresh& r = refresh(static_cast<int>(state.range(0)));
  netglobe::StatusLists lists;
  for (auto _ : state) {
    netglobe::what2array(r.path, lists);
    std::size_t n = rows(netglobe::getobs(r.path).listbox1) + rows(netglobe::getfriends(r.path, r.friends)) +
                    rows(netglobe::getedbb(r.path, r.refs)) + rows(netglobe::getinbound(lists)) +
                    rows(netglobe::getoutbound(lists));
    n += ops(netglobe::showctrname(lists, r.refs.firs)) +
         ops(netglobe::showaprname(lists, r.refs.airports, r.refs.firs)) +
         ops(netglobe::showtwrname(lists, r.refs.airports)) +
         ops(netglobe::showpilotname(lists, r.refs.airports, 5));
    benchmark::DoNotOptimize(n);
  }
  state.counters["clients"] = lists.clicount;
}

#define LISTS_BENCH(name) \
  BENCHMARK(name)->Arg(600)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond)
LISTS_BENCH(BM_Lists_getobs);
LISTS_BENCH(BM_Lists_getfriends);
LISTS_BENCH(BM_Lists_getedbb);
LISTS_BENCH(BM_Lists_getinbound);
LISTS_BENCH(BM_Lists_getoutbound);
LISTS_BENCH(BM_Lists_showctrname);
LISTS_BENCH(BM_Lists_showaprname);
LISTS_BENCH(BM_Lists_showtwrname);
LISTS_BENCH(BM_Lists_showpilotname5);
LISTS_BENCH(BM_Lists_parse_lists_labels);

}  // namespace
