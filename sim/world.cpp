#include "world.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

#include "refdata/network_tables.h"
#include "base/fields.h"
#include "base/line_reader.h"
#include "base/number_text.h"

namespace netsim {
namespace {

// Used when airports.dat is missing or lacks them: the positions of the home
// aerodromes, then of large airports around the world.
const Place kHomePositions[] = {
    {"EDDT", 52.5597, 13.2877}, {"EDDI", 52.4731, 13.4039}, {"EDDB", 52.3514, 13.4939},
    {"EDDP", 51.4239, 12.2364}, {"EDDE", 50.9798, 10.9581}, {"EDDC", 51.1328, 13.7672},
    {"ETNL", 53.9182, 12.2783}, {"EDOP", 53.4270, 11.7834}, {"EDBM", 52.0736, 11.6264},
    {"EDAC", 50.9819, 12.5064}, {"EDAB", 51.1936, 14.5197}, {"ETNU", 53.6022, 13.3060},
    {"EDBC", 51.8564, 11.4203}, {"ETSH", 51.7678, 13.1677},
};

const Place kBuiltinBusy[] = {
    {"EDDF", 50.0333, 8.5706},    {"EDDM", 48.3538, 11.7861},   {"EDDH", 53.6304, 9.9882},
    {"EDDL", 51.2895, 6.7668},    {"EDDK", 50.8659, 7.1427},    {"EDDS", 48.6899, 9.2220},
    {"EDDN", 49.4987, 11.0781},   {"EDDW", 53.0475, 8.7867},    {"EDDV", 52.4611, 9.6851},
    {"EGLL", 51.4700, -0.4543},   {"EGKK", 51.1481, -0.1903},   {"EHAM", 52.3086, 4.7639},
    {"LFPG", 49.0097, 2.5479},    {"LFPO", 48.7233, 2.3794},    {"EBBR", 50.9014, 4.4844},
    {"LSZH", 47.4647, 8.5492},    {"LOWW", 48.1103, 16.5697},   {"EKCH", 55.6179, 12.6560},
    {"ESSA", 59.6519, 17.9186},   {"ENGM", 60.1939, 11.1004},   {"EFHK", 60.3172, 24.9633},
    {"EPWA", 52.1657, 20.9671},   {"LKPR", 50.1008, 14.2600},   {"LHBP", 47.4298, 19.2611},
    {"LEMD", 40.4719, -3.5626},   {"LEBL", 41.2971, 2.0785},    {"LIRF", 41.8003, 12.2389},
    {"LIMC", 45.6306, 8.7281},    {"LPPT", 38.7813, -9.1359},   {"EIDW", 53.4213, -6.2701},
    {"LTFM", 41.2753, 28.7519},   {"UUEE", 55.9726, 37.4146},   {"OMDB", 25.2532, 55.3657},
    {"KJFK", 40.6398, -73.7789},  {"KLAX", 33.9425, -118.4081}, {"KORD", 41.9786, -87.9048},
    {"KATL", 33.6367, -84.4281},  {"KSFO", 37.6190, -122.3750}, {"CYYZ", 43.6772, -79.6306},
    {"SBGR", -23.4356, -46.4731}, {"RJTT", 35.5523, 139.7800},  {"VHHH", 22.3080, 113.9185},
    {"WSSS", 1.3502, 103.9944},   {"YSSY", -33.9461, 151.1772}, {"FAOR", -26.1392, 28.2460},
    {"ZBAA", 40.0801, 116.5846},  {"VIDP", 28.5665, 77.1031},
};

// FIR codes with rough reference points; the first entries are the core
// region around the home aerodromes and its neighbours.
const Place kBuiltinFirs[] = {
    {"EDWW", 53.0, 11.5}, {"EDGG", 50.2, 8.4},   {"EDMM", 48.6, 11.5},  {"EDUU", 50.0, 9.0},
    {"EDYY", 52.0, 6.5},  {"EHAA", 52.3, 5.2},   {"EBBU", 50.6, 4.5},   {"LFFF", 48.5, 2.5},
    {"LFMM", 43.9, 5.0},  {"EGTT", 52.0, -1.0},  {"EGPX", 57.5, -4.0},  {"EKDK", 56.0, 11.0},
    {"ESAA", 62.0, 16.0}, {"ENOR", 64.0, 12.0},  {"EFIN", 63.0, 26.0},  {"EPWW", 52.0, 19.5},
    {"LKAA", 49.8, 15.5}, {"LOVV", 47.6, 14.0},  {"LSAS", 46.8, 8.2},   {"LIMM", 45.3, 9.5},
    {"LIRR", 41.5, 12.5}, {"LECM", 40.5, -4.0},  {"LPPC", 39.0, -9.0},  {"LHCC", 47.2, 19.5},
    {"EISN", 53.2, -8.5}, {"KZNY", 40.5, -70.0}, {"CZYZ", 46.0, -80.0},
};
constexpr std::size_t kCoreFirCount = 18;  // EDWW .. LOVV above

bool iscode(const std::string& text) {
  return text.size() == 4 && std::all_of(text.begin(), text.end(), [](unsigned char c) {
           return std::isupper(c) || std::isdigit(c);
         });
}

// Reads the records of a colon-separated reference file: code in position
// 1, latitude and longitude in positions 6 and 7.
std::vector<Place> readplaces(const std::string& path) {
  std::vector<Place> places;
  netglobe::LineReader reader(path);
  if (!reader.isopen()) return places;
  std::unordered_set<std::string> seen;
  netglobe::FieldBuf fieldbuf;
  std::string line;
  while (reader.next(line)) {
    for (int i = 1; i <= 8; ++i) fieldbuf(i).clear();
    netglobe::getfields(line, fieldbuf);
    Place place{fieldbuf(1), netglobe::leadingnumber(fieldbuf(6)),
                netglobe::leadingnumber(fieldbuf(7))};
    if (!iscode(place.code) || place.lat == 0 || place.lat < -90 || place.lat > 90 ||
        place.lon < -180 || place.lon > 180) {
      continue;
    }
    if (seen.insert(place.code).second) places.push_back(std::move(place));
  }
  return places;
}

template <typename Places>
const Place* find(const Places& places, std::string_view code) {
  for (const Place& p : places) {
    if (p.code == code) return &p;
  }
  return nullptr;
}

// The places of want that the loaded set has (with its positions); those it
// lacks are added to it from want when addmissing is set.
std::vector<Place> pick(std::vector<Place>& loaded, const Place* begin, const Place* end,
                        bool addmissing) {
  std::vector<Place> picked;
  for (const Place* p = begin; p != end; ++p) {
    if (const Place* have = find(loaded, p->code)) {
      picked.push_back(*have);
    } else if (addmissing) {
      loaded.push_back(*p);
      picked.push_back(*p);
    }
  }
  return picked;
}

std::vector<Place> homeplaces(std::vector<Place>& loaded) {
  std::vector<Place> home;
  for (const std::string_view code : netglobe::homeairports) {
    if (const Place* have = find(loaded, code)) {
      home.push_back(*have);
    } else if (const Place* known = find(kHomePositions, code)) {
      loaded.push_back(*known);
      home.push_back(*known);
    }
  }
  return home;
}

void finish(World& world) {
  // NetGlobe's home lists and chiefs need these whatever the data holds.
  world.home = homeplaces(world.airports);
  world.busy = pick(world.airports, std::begin(kBuiltinBusy), std::end(kBuiltinBusy), false);
  if (world.busy.size() < 10) {
    // A data set without the usual large airports: an even spread of its
    // airports stands in for them.
    world.busy.clear();
    const std::size_t stride = std::max<std::size_t>(1, world.airports.size() / 200);
    for (std::size_t i = 0; i < world.airports.size(); i += stride)
      world.busy.push_back(world.airports[i]);
  }
  world.corefirs =
      pick(world.firs, std::begin(kBuiltinFirs), std::begin(kBuiltinFirs) + kCoreFirCount, true);
}

}  // namespace

const Place* World::fir(const std::string& code) const { return find(firs, code); }

World builtinworld() {
  World world;
  world.airports.assign(std::begin(kHomePositions), std::end(kHomePositions));
  world.airports.insert(world.airports.end(), std::begin(kBuiltinBusy), std::end(kBuiltinBusy));
  world.firs.assign(std::begin(kBuiltinFirs), std::end(kBuiltinFirs));
  world.builtinairports = world.builtinfirs = true;
  finish(world);
  return world;
}

World loadworld(const std::string& dir) {
  const std::string folder = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  return loadworld(folder + "airports.dat", folder + "firs.dat");
}

World loadworld(const std::string& airportsfile, const std::string& firsfile) {
  const World builtin = builtinworld();
  World world;
  world.airports = readplaces(airportsfile);
  if (world.airports.size() < 2) {
    world.airports = builtin.airports;
    world.builtinairports = true;
  }
  world.firs = readplaces(firsfile);
  if (world.firs.empty()) {
    world.firs = builtin.firs;
    world.builtinfirs = true;
  }
  finish(world);
  return world;
}

}  // namespace netsim
