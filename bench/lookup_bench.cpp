// The reference lookups one refresh makes at 1000 pilots and 500 stations,
// with the shipped data: through whole-file scans and through the
// directories, and the cost of a directory refresh that finds the files
// unchanged.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "base/line_reader.h"
#include "refdata/directories.h"
#include "support/reference_scan.h"

namespace {

const std::string kData = NETGLOBE_DATA_DIR;

constexpr int kPilots = 1000;
// The 500 stations: every centre looks up its FIR and draws its outline,
// every approach and tower station looks up its airport.
constexpr int kCentres = 100;
constexpr int kApproaches = 150;
constexpr int kTowers = 250;

std::vector<std::string> codesof(const std::string& file) {
  std::vector<std::string> codes;
  netglobe::LineReader reader(kData + "/" + file);
  for (std::string line; reader.next(line);) codes.push_back(line.substr(0, 4));
  return codes;
}

// The codes one refresh asks for: real codes of the files, one in ten of
// them a code no file holds.
struct RefreshCodes {
  std::vector<std::string> destinations, approaches, towers, centres;

  RefreshCodes() {
    std::mt19937 rng(1);
    const std::vector<std::string> airports = codesof("airports.dat");
    const std::vector<std::string> firs = codesof("firs.dat");
    auto draw = [&](const std::vector<std::string>& from, int count) {
      std::vector<std::string> out;
      for (int i = 0; i < count; ++i)
        out.push_back(rng() % 10 == 0 ? "Q" + std::to_string(100 + rng() % 900) : from[rng() % from.size()]);
      return out;
    };
    destinations = draw(airports, kPilots);
    approaches = draw(airports, kApproaches);
    towers = draw(airports, kTowers);
    centres = draw(firs, kCentres);
  }
};

const RefreshCodes& codes() {
  static const RefreshCodes instance;
  return instance;
}

// Asks every lookup of one refresh of ask; the sum keeps the answers alive.
template <class Ask>
double lookups(Ask& ask) {
  const RefreshCodes& c = codes();
  double sum = 0;
  for (const std::string& code : c.destinations) sum += ask.firstairport(code);
  for (const std::string& code : c.approaches) sum += ask.lastairport(code);
  for (const std::string& code : c.towers) sum += ask.lastairport(code);
  for (const std::string& code : c.centres) sum += ask.firandoutline(code);
  return sum;
}

struct ThroughScans {
  netglobe::FieldBuf fieldbuf;
  std::vector<std::string> storage;
  double firstairport(const std::string& code) { return netglobe::scanfirstairport(kData, code, fieldbuf).destlat; }
  double lastairport(const std::string& code) { return netglobe::scanlastairport(kData, code, fieldbuf).destlat; }
  double firandoutline(const std::string& code) {
    const netglobe::FirInfo info = netglobe::scanfirinfo(kData, code, fieldbuf);
    if (info.firfound == 0) return 0;
    return info.destlat + static_cast<double>(netglobe::scanoutline(kData, info.fircode, storage).points.size());
  }
};

struct ThroughDirectories {
  const netglobe::RefDirectories& dirs;
  netglobe::FieldBuf fieldbuf;
  double firstairport(const std::string& code) { return dirs.airports.getdestlatlon(code, fieldbuf).destlat; }
  double lastairport(const std::string& code) { return dirs.airports.lastairport(code, fieldbuf).destlat; }
  double firandoutline(const std::string& code) {
    const netglobe::FirInfo info = dirs.firs.getfirinfo(code, fieldbuf);
    if (info.firfound == 0) return 0;
    return info.destlat + static_cast<double>(dirs.outlines.outline(info.fircode).points.size());
  }
};

void setlookupcounter(benchmark::State& state) {
  state.counters["lookups"] = kPilots + kApproaches + kTowers + 2 * kCentres;
}

void BM_LookupRefresh_scans(benchmark::State& state) {
  ThroughScans scans;
  for (auto _ : state) benchmark::DoNotOptimize(lookups(scans));
  setlookupcounter(state);
}
BENCHMARK(BM_LookupRefresh_scans)->Unit(benchmark::kMillisecond);

void BM_LookupRefresh_directories(benchmark::State& state) {
  netglobe::RefDirectories dirs(kData);
  dirs.refresh();
  ThroughDirectories directories{dirs, {}};
  for (auto _ : state) benchmark::DoNotOptimize(lookups(directories));
  setlookupcounter(state);
}
BENCHMARK(BM_LookupRefresh_directories)->Unit(benchmark::kMillisecond);

// What each refresh adds before its lookups: three stat calls.
void BM_LookupDirectoriesUnchanged_refresh(benchmark::State& state) {
  netglobe::RefDirectories dirs(kData);
  dirs.refresh();
  for (auto _ : state) {
    if (dirs.airports.refresh() || dirs.firs.refresh() || dirs.outlines.refresh()) {
      state.SkipWithError("a reference file changed during the run");
      break;
    }
  }
}
BENCHMARK(BM_LookupDirectoriesUnchanged_refresh)->Unit(benchmark::kMicrosecond);

}  // namespace
