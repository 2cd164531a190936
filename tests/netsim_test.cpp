// The simulated network's status files, read with NetGlobe's own parser.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "feed/json_status.h"
#include "feed/status_copy.h"
#include "feed/status_parser.h"
#include "base/text_encoding.h"
#include "refdata/network_tables.h"
#include "population.h"
#include "base/fields.h"
#include "base/number_text.h"
#include "field_text.h"
#include "snapshot.h"
#include "sphere.h"
#include "temp_folder.h"
#include "world.h"

namespace netsim {
namespace {

constexpr std::int64_t kTime = 1765100000;  // a fixed clock for every fixture

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// Stores text the way a refresh does and parses it with NetGlobe's parser.
netglobe::StatusLists parse(const std::string& text) {
  netglobe::TempFolder folder;
  const std::string path = folder.file(netglobe::kStatusFileName);
  EXPECT_EQ(netglobe::storecopy(path, netglobe::convertlineends(netglobe::tocp1252(text))), "");
  netglobe::StatusLists lists;
  netglobe::what2array(path, lists);
  return lists;
}

double num(const std::string& text) { return netglobe::leadingnumber(text); }

using netglobe::countstitle;

// The title counts the network's clients give by their roles.
std::string rolecounts(const Network& net) {
  netglobe::StatusLists counts;
  for (const Client& c : net.clients(kTime)) {
    counts.ctrcount += c.role == Role::Center || c.role == Role::Fss;
    counts.appcount += c.role == Role::Approach || c.role == Role::Departure;
    counts.twrcount += c.role == Role::Tower || c.role == Role::Ground;
    counts.pilcount += c.role == Role::Pilot;
    ++counts.clicount;
  }
  counts.topcount = counts.clicount;
  return countstitle(counts);
}

const World& builtin() {
  static const World world = builtinworld();
  return world;
}

TEST(NetsimSnapshot, HeaderAndSectionsMatchWhatNetGlobeParses) {
  const Network net(builtin(), 7, 600);
  const std::string text = snapshot(net, kTime);
  const std::vector<std::string> all = lines(text);
  const int connected = static_cast<int>(net.clients(kTime).size());
  EXPECT_GT(connected, 500);  // a few places are empty between two clients
  EXPECT_LE(connected, 600);
  ASSERT_GT(all.size(), 7u);
  EXPECT_EQ(all[0], "!GENERAL");
  EXPECT_EQ(all[3], "UPDATE = " + timestamp(kTime));
  EXPECT_EQ(all[5], "CONNECTED CLIENTS = " + std::to_string(connected));
  EXPECT_EQ(all[6], "!CLIENTS");
  const auto servers = std::find(all.begin(), all.end(), "!SERVERS");
  ASSERT_NE(servers, all.end());
  EXPECT_EQ(servers - all.begin() - 7, connected);
  EXPECT_EQ(all.end() - servers - 1, static_cast<long>(kServers.size()));
  EXPECT_EQ(text.find('\r'), std::string::npos);

  EXPECT_EQ(countstitle(parse(text)), rolecounts(net));

  SnapshotOptions crlf;
  crlf.crlf = true;
  const std::string crlftext = snapshot(net, kTime, crlf);
  std::string back = crlftext;
  std::erase(back, '\r');
  EXPECT_EQ(back, text);
  EXPECT_EQ(std::count(crlftext.begin(), crlftext.end(), '\r'),
            std::count(crlftext.begin(), crlftext.end(), '\n'));

  // The longer layout: marker on line 8, 49 fields a client, same counts.
  SnapshotOptions line8;
  line8.markerline8 = true;
  const std::vector<std::string> longer = lines(snapshot(net, kTime, line8));
  EXPECT_EQ(longer[7], "!CLIENTS");
  EXPECT_EQ(std::count(longer[8].begin(), longer[8].end(), ':'),
            std::count(all[7].begin(), all[7].end(), ':') + 8);
  EXPECT_EQ(countstitle(parse(snapshot(net, kTime, line8))), rolecounts(net));
}

TEST(NetsimSnapshot, EveryLineHas41FieldsAndClassifiesAsItsRole) {
  for (const auto& [seed, size] : {std::pair{1u, 2000}, {2u, 2000}, {3u, kMaxClients}}) {
    const Network net(builtin(), seed, size);
    for (const std::int64_t t : {kTime, kTime + 5000, kTime + 40000}) {
      std::set<std::string> callsigns;
      for (const Client& c : net.clients(t)) {
        EXPECT_TRUE(callsigns.insert(c.field(1)).second) << "callsign in use twice: " << c.field(1);
        const std::string line = c.line();
        SCOPED_TRACE(line);
        ASSERT_EQ(std::count(line.begin(), line.end(), ':'), kClientFields);
        ASSERT_EQ(line.back(), ':');
        ASSERT_TRUE(netglobe::isvalidutf8(line));
        // NetGlobe classifies the windows-1252 copy.
        const netglobe::ClientKinds k = netglobe::classifyclient(netglobe::tocp1252(line));
        const Role r = c.role;
        EXPECT_EQ(k.pilot, r == Role::Pilot);
        EXPECT_EQ(k.ctr, r == Role::Center || r == Role::Fss);
        EXPECT_EQ(k.app, r == Role::Approach || r == Role::Departure ? 1 : 0);
        EXPECT_EQ(k.twr, r == Role::Tower || r == Role::Ground ? 1 : 0);
        EXPECT_EQ(c.field(4), r == Role::Pilot ? "PILOT" : "ATC");
      }
    }
  }
}

TEST(NetsimSnapshot, IsAFunctionOfSeedSizeAndClock) {
  const Network a(builtin(), 11, 300), b(builtin(), 11, 300), other(builtin(), 12, 300);
  EXPECT_EQ(snapshot(a, kTime), snapshot(b, kTime));
  EXPECT_NE(snapshot(a, kTime), snapshot(a, kTime + 30));
  EXPECT_NE(snapshot(a, kTime), snapshot(other, kTime));
  EXPECT_EQ(Network(builtin(), 11, 0).clients(kTime).size(), 0u);
}

// Pairs the clients of two moments that are still in the same session.
std::vector<std::pair<Client, Client>> samesessions(const Network& net, std::int64_t t1,
                                                    std::int64_t t2) {
  std::map<std::pair<int, std::int64_t>, Client> first;
  for (Client& c : net.clients(t1)) first[{c.slot, c.logon}] = std::move(c);
  std::vector<std::pair<Client, Client>> out;
  for (Client& c : net.clients(t2)) {
    const auto it = first.find({c.slot, c.logon});
    if (it != first.end()) out.emplace_back(it->second, std::move(c));
  }
  return out;
}

TEST(NetsimMotion, AircraftMoveAsFastAsTheyReportAndTowardTheirDestination) {
  const Network net(builtin(), 5, 3000);
  const std::int64_t dt = 60;
  int airborne = 0, closing = 0;
  for (const auto& [a, b] : samesessions(net, kTime, kTime + dt)) {
    if (a.role != Role::Pilot) {
      EXPECT_EQ(a.field(6), b.field(6));  // stations stay where they are
      continue;
    }
    SCOPED_TRACE(a.line() + "\n" + b.line());
    const double alt = num(b.field(8)), speed = num(b.field(9));
    EXPECT_LE(alt, 45000);
    EXPECT_LE(speed, 650);
    EXPECT_GE(alt, 0);
    const double moved =
        distancenm(num(a.field(6)), num(a.field(7)), num(b.field(6)), num(b.field(7)));
    if (num(a.field(9)) == 0 && speed == 0) {
      EXPECT_LT(moved, 0.01);
    }
    if (num(a.field(9)) < 30 || speed < 30) continue;
    ++airborne;
    const double expected = (num(a.field(9)) + speed) / 2 * dt / 3600.0;
    EXPECT_NEAR(moved, expected, 0.05 * expected + 0.05);
    if (!b.field(14).empty()) {
      const double before =
          distancenm(num(a.field(6)), num(a.field(7)), num(a.field(34)), num(a.field(35)));
      const double after =
          distancenm(num(b.field(6)), num(b.field(7)), num(b.field(34)), num(b.field(35)));
      EXPECT_NEAR(before - after, moved, 0.05 * moved + 0.05);
      closing += after < before;
    }
  }
  EXPECT_GT(airborne, 800);
  EXPECT_GT(closing, 700);
}

TEST(NetsimMotion, ClientsLogOnAndOffWhileTheSizeStaysNearlyTheSame) {
  const Network net(builtin(), 9, 1000);
  const std::size_t now = net.clients(kTime).size();
  EXPECT_GT(now, 880u);
  EXPECT_LE(now, 1000u);
  EXPECT_GT(samesessions(net, kTime, kTime + 60).size(), now - 20);
  EXPECT_LT(samesessions(net, kTime, kTime + 4 * 3600).size(), 500u);
  // The number connected moves from one 30-second refresh to the next.
  int changes = 0;
  std::size_t before = now;
  for (int step = 1; step <= 20; ++step) {
    const std::size_t count = net.clients(kTime + 30 * step).size();
    changes += count != before;
    EXPECT_GT(count, 880u);
    before = count;
  }
  EXPECT_GE(changes, 15);
  // Every logon lies in the past of the snapshot that shows it.
  for (const Client& c : net.clients(kTime)) {
    EXPECT_LE(c.logon, kTime);
    EXPECT_EQ(c.field(38), timestamp(c.logon));
  }
}

// The default snapshot holds something for each of NetGlobe's side lists,
// found with the rules of those lists.
TEST(NetsimPopulation, DefaultSnapshotFeedsEverySideList) {
  const Network net(builtin(), 1, 600);
  std::map<std::string, int> seen;
  std::set<std::string> ratings;
  for (const Client& c : net.clients(kTime)) {
    const std::string& callsign = c.field(1);
    const std::string line = c.line();
    if (c.field(36).rfind("ZELV Observer", 0) == 0 && callsign.ends_with("_OBS"))
      ++seen["observer"];
    if (callsign.ends_with("CH")) {
      EXPECT_EQ(c.role, Role::Chief);
      ++seen[line.find("-ACH:") != std::string::npos ? "-ACH" : "-CH"];
    }
    if (netglobe::isfriend(c.field(2))) ++seen["friend"];
    const double lat = num(c.field(6)), lon = num(c.field(7));
    const std::string suffix = callsign.size() >= 3 ? callsign.substr(callsign.size() - 3) : "";
    if (lon >= 10.92 && lon <= 14.59 && lat >= 50.78 && lat <= 54.16 &&
        std::set<std::string>{"GND", "TWR", "DEP", "APP", "CTR"}.count(suffix)) {
      ++seen["region station"];
    }
    if (netglobe::tocp1252(c.field(3)) != c.field(3)) ++seen["non-ASCII name"];
    ratings.insert(c.field(17));
    if (c.role != Role::Pilot) continue;
    if (netglobe::ishomeairport(c.field(14))) ++seen["inbound"];
    if (netglobe::ishomeairport(c.field(12))) ++seen["outbound"];
    if (c.field(12).empty() && c.field(14).empty()) ++seen["no flight plan"];
    if (num(c.field(9)) < 30) ++seen["on the ground"];
    if (num(c.field(8)) > 25000) ++seen["cruising"];
  }
  for (const char* kind : {"observer", "-CH", "-ACH", "friend", "region station", "non-ASCII name",
                           "inbound", "outbound", "no flight plan", "on the ground", "cruising"}) {
    EXPECT_GT(seen[kind], 0) << kind;
  }
  EXPECT_EQ(seen["friend"], static_cast<int>(netglobe::friendids.size()));
  // Table codes and codes NetGlobe shows unchanged.
  for (const char* code : {"1", "2", "3", "4", "5", "7", "11"})
    EXPECT_TRUE(ratings.count(code)) << code;
  EXPECT_TRUE(ratings.count("9") || ratings.count("10") || ratings.count("0"));
}

TEST(NetsimPopulation, TenThousandClientsAreEachListedByKind) {
  const Network net(builtin(), 1, kMaxClients);
  const netglobe::StatusLists lists = parse(snapshot(net, kTime));
  EXPECT_EQ(countstitle(lists), rolecounts(net));
  EXPECT_GT(lists.pilcount, 5000);
}

TEST(NetsimWorld, ReadsReferenceFilesAndFallsBackToBuiltInSets) {
  netglobe::TempFolder folder;
  folder.write("airports.dat",
               "LOWW:Wien Schwechat:Wien:::48.1103:16.5697\n"
               "EDDB:Brandenburg:Berlin:::52.3514:13.4939\n"
               "EDDB:Second record:Berlin:::10:10\n"
               "XNUL:At zero:Nowhere:::0:0\n"
               "bad line\n"
               "LKPR:Praha Ruzyne:Praha:::50.1008:14.2600\n"
               "EPWA:Chopin:Warszawa:::52.1657:20.9671\n");
  folder.write("firs.dat", "LKAA::PRAHA:::49.8:15.5:\nEPWW::WARSZAWA:::52.0:19.5:EPWW\n");
  const World world = loadworld(folder.path());
  EXPECT_FALSE(world.builtinairports);
  EXPECT_FALSE(world.builtinfirs);
  std::set<std::string> airports, firs;
  for (const Place& p : world.airports) airports.insert(p.code);
  for (const Place& p : world.firs) firs.insert(p.code);
  EXPECT_TRUE(airports.count("LOWW") && airports.count("LKPR") && !airports.count("XNUL"));
  EXPECT_TRUE(firs.count("LKAA") && firs.count("EPWW") && firs.count("EDWW"));
  for (const Place& p : world.airports) {
    if (p.code == "EDDB") {
      EXPECT_DOUBLE_EQ(p.lat, 52.3514);  // the first record wins
    }
  }
  ASSERT_EQ(world.home.size(), netglobe::homeairports.size());
  for (std::size_t i = 0; i < world.home.size(); ++i) {
    EXPECT_EQ(world.home[i].code, netglobe::homeairports[i]);
  }
  // Clients use only the places the data knows, or that NetGlobe needs.
  const Network net(world, 3, 800);
  for (const Client& c : net.clients(kTime)) {
    if (c.role == Role::Pilot) {
      for (const int n : {12, 14}) {
        if (!c.field(n).empty()) {
          EXPECT_TRUE(airports.count(c.field(n))) << c.field(n);
        }
      }
    } else if (c.role == Role::Center || c.role == Role::Fss || c.role == Role::Chief) {
      EXPECT_TRUE(firs.count(c.field(1).substr(0, 4))) << c.field(1);
    } else if (c.role != Role::Observer) {
      EXPECT_TRUE(airports.count(c.field(1).substr(0, 4))) << c.field(1);
    }
  }

  const World fallback = loadworld(folder.file("missing"));
  EXPECT_TRUE(fallback.builtinairports);
  EXPECT_TRUE(fallback.builtinfirs);
  EXPECT_GE(fallback.busy.size(), 40u);
  EXPECT_EQ(fallback.home.size(), netglobe::homeairports.size());
  EXPECT_NE(fallback.fir("EDGG"), nullptr);
}

TEST(NetsimMalformed, EachKindBreaksTheLineAsItSays) {
  const Network net(builtin(), 4, 50);
  const std::vector<Client> clients = net.clients(kTime);
  const auto station = std::find_if(clients.begin(), clients.end(),
                                    [](const Client& c) { return c.role == Role::Tower; });
  ASSERT_NE(station, clients.end());
  const std::string line = station->line();
  const auto colons = [](const std::string& s) { return std::count(s.begin(), s.end(), ':'); };

  EXPECT_GT(colons(malform(line, Malformed::TooManyFields, 0)), netglobe::FieldBuf::kPositions);
  EXPECT_LT(colons(malform(line, Malformed::MissingFields, 3)), 20);
  EXPECT_FALSE(netglobe::isvalidutf8(malform(line, Malformed::InvalidUtf8, 0)));
  EXPECT_FALSE(netglobe::isvalidutf8(malform(line, Malformed::InvalidUtf8, 1)));
  EXPECT_GE(malform(line, Malformed::HugeLine, 0).size(), kHugeLineBytes);
  for (const std::uint64_t variant : {0u, 1u}) {
    const std::string moved = malform(line, Malformed::TypeOutsideWindow, variant);
    const std::size_t at = moved.find(":ATC:");
    ASSERT_NE(at, std::string::npos);
    EXPECT_TRUE(at < 15 || at + 5 > 70) << moved;
    // Still a station; a callsign cut to three characters lost its suffix.
    const netglobe::ClientKinds kinds = netglobe::classifyclient(moved);
    EXPECT_TRUE(kinds.atc);
    EXPECT_EQ(kinds.twr, moved.starts_with(station->field(1) + ":") ? 1 : 0) << moved;
  }
}

TEST(NetsimMalformed, BadLinesOptionBreaksItsShareAndTheParserSurvives) {
  const Network net(builtin(), 8, 400);
  SnapshotOptions bad;
  bad.badshare = 0.25;
  const std::string clean = snapshot(net, kTime), broken = snapshot(net, kTime, bad);
  const std::vector<std::string> a = lines(clean), b = lines(broken);
  ASSERT_EQ(a.size(), b.size());
  int differ = 0, huge = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    differ += a[i] != b[i];
    huge += b[i].size() >= kHugeLineBytes;
  }
  EXPECT_GT(differ, 60);
  EXPECT_LT(differ, 140);
  EXPECT_EQ(huge, 1);  // one is enough; more would only bloat the body
  EXPECT_FALSE(netglobe::isvalidutf8(broken));
  const netglobe::StatusLists lists = parse(broken), whole = parse(clean);
  EXPECT_EQ(lists.clicount, static_cast<int>(net.clients(kTime).size()));
  // Every broken line keeps its type field: each pilot is still counted;
  // only a station whose callsign was cut loses its kind.
  EXPECT_EQ(lists.pilcount, whole.pilcount);
  EXPECT_LT(lists.ctrcount + lists.appcount + lists.twrcount,
            whole.ctrcount + whole.appcount + whole.twrcount);
}

// Each JSON layout carries the same network as the text: read back, it
// gives the same clients with the same member ids, stations and pilot
// positions, and the same UPDATE.
TEST(NetsimJson, EachLayoutReadsBackAsTheSameNetworkAsTheText) {
  const Network net(builtin(), 8, 400);
  std::map<std::string, std::vector<std::string>> text;  // by callsign
  for (const std::string& line : lines(snapshot(net, kTime))) {
    const std::vector<std::string> f = [&] {
      std::vector<std::string> out;
      std::istringstream in(line);
      for (std::string x; std::getline(in, x, ':');) out.push_back(x);
      return out;
    }();
    if (f.size() >= 41) text[f[0]] = f;
  }
  for (const Layout layout : {Layout::A, Layout::B}) {
    SnapshotOptions options;
    options.layout = layout;
    std::string doc = snapshot(net, kTime, options);
    const netglobe::JsonStatus status = netglobe::readjsonstatus(doc);
    ASSERT_TRUE(status.ok) << status.failure;
    EXPECT_EQ(status.skipped, 0);
    EXPECT_NE(status.text.find("\nUPDATE = " + timestamp(kTime) + "\n"), std::string::npos);
    std::size_t records = 0;
    for (const std::string& line : lines(status.text)) {
      std::vector<std::string> f;
      std::istringstream in(line);
      for (std::string x; std::getline(in, x, ':');) f.push_back(x);
      if (f.size() < 4 || line.starts_with('!')) continue;
      ++records;
      ASSERT_TRUE(text.contains(f[0])) << line;
      const std::vector<std::string>& t = text.at(f[0]);
      EXPECT_EQ(f[1], t[1]) << line;
      EXPECT_EQ(f[3], t[3]) << line;
      if (t[3] == "PILOT" || layout == Layout::B) {
        EXPECT_NEAR(num(f[5]), num(t[5]), 1e-9) << line;
        EXPECT_NEAR(num(f[6]), num(t[6]), 1e-9) << line;
      } else {
        EXPECT_EQ(f[5] + f[6], "") << "a station of layout A has no position: " << line;
      }
      if (t[3] == "PILOT") {
        EXPECT_EQ(f[13], t[13]) << line;                     // destination
        EXPECT_EQ(f[24] + ":" + f[25], t[24] + ":" + t[25]) << line;  // time en route
      }
    }
    EXPECT_EQ(records, text.size());
  }
}

// Broken entries are left out and counted, never the whole document.
TEST(NetsimJson, BadEntriesAreLeftOutAndCounted) {
  const Network net(builtin(), 8, 400);
  for (const Layout layout : {Layout::A, Layout::B}) {
    SnapshotOptions options;
    options.layout = layout;
    options.badshare = 0.25;
    std::string doc = snapshot(net, kTime, options);
    EXPECT_GT(doc.size(), kHugeLineBytes);  // one name of megabytes
    const netglobe::JsonStatus status = netglobe::readjsonstatus(doc);
    ASSERT_TRUE(status.ok) << status.failure;
    const int total = static_cast<int>(net.clients(kTime).size());
    const int records = static_cast<int>(std::count(status.text.begin(), status.text.end(), '\n')) - 8;
    EXPECT_GT(status.skipped, total / 10);
    EXPECT_LT(status.skipped, total / 4);
    EXPECT_EQ(records + status.skipped, total);
    EXPECT_GT(status.text.size(), kHugeLineBytes);  // that entry is only large, and kept
  }
}

}  // namespace
}  // namespace netsim
