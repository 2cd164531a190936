// The session driven by random interleavings of everything that can happen
// to it: refresh ticks, answers (good, failed, 304, late), replay keys,
// search, flights, picks and side-list double-clicks, with the window's one
// call of next() coming at random points. After every event the test checks
// what must hold whatever the order.
//
// Seeds 1 to NETGLOBE_INTERLEAVE_RUNS (default 12) run; NETGLOBE_INTERLEAVE_SEED
// runs that one seed alone. A failure names its seed.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <regex>

#include "geo/globe_coords.h"
#include "history/update_time.h"
#include "scene/flight.h"
#include "scene/pick_names.h"
#include "session/session.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

constexpr int kPool = 12;  // callsigns TST0 to TST11

// Where pilot i is in the answer of generation g: every pair has a place
// of its own, so a drawn disc or a flight's target names the copy it came from.
double latof(int i, int g) { return -75 + (g % 140) + 0.05 * i; }
double lonof(int i, int g) { return -160 + 20 * (g / 140 % 15) + 1.5 * i; }

std::string fixed2(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

std::string updateof(int g) {
  char text[32];
  std::snprintf(text, sizeof text, "2026120710%04d", g);
  return text;
}

// Generation g of the network: pilots come and go, move, and are named "Gen<g>".
std::string bodyof(int g) {
  std::string body = "!GENERAL\nVERSION = 8\nRELOAD = 2\nUPDATE = " + updateof(g) +
                     "\nCONNECTED CLIENTS = 9\nSERVERS = 1\n!CLIENTS\n";
  for (int i = 0; i < kPool; ++i) {
    if ((g + i) % 3 == 0) continue;
    body += "TST" + std::to_string(i) + ":" + std::to_string(100000 + i) + ":Gen" + std::to_string(g) +
            ":PILOT::" + fixed2(latof(i, g)) + ":" + fixed2(lonof(i, g)) +
            ":35000:450:A320:450:EDDB:FL350:EDDT:\n";
  }
  return body + "!SERVERS\n";
}

struct Interleaving {
  std::uint32_t seed;
  std::mt19937 rng;
  TempFolder folder;
  std::int64_t clockms;
  bool keepfails = false;
  bool keeppending = false;  // a good answer is in and not yet handed to the store
  Session session;

  // What the window shows and holds.
  int pumps = 0;  // next() calls asked for and not made yet
  bool downloading = false;
  int generation = 0;  // of the last good answer the server gave
  std::string title;
  std::array<std::vector<std::string>, 7> boxes;
  std::optional<Layer> aircraft;
  // Never backwards.
  std::string copyupdate;
  int peak = 0;
  std::string keptupdate;

  std::vector<std::string> failures;

  explicit Interleaving(std::uint32_t s)
      : seed(s),
        rng(s),
        clockms(noonms()),
        session(ServerAddress{}, onefolder(prepare()), HistoryRetention::hours(24),
                SessionSetup{30, [this] { return clockms; },
                             [this](HistoryStore& store, std::string_view body, std::int64_t ms) {
                               keeppending = false;
                               // A full disk fails a write; a refresh already kept needs none.
                               const bool same = store.size() > 0 &&
                                                 store.at(store.size() - 1).update == statusupdatetime(body);
                               if (keepfails && !same) return KeepResult{KeepOutcome::Failed, 0, "disk full", true};
                               return store.keep(body, ms);
                             }}) {}

  static std::int64_t noonms() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_hour = 12, local.tm_min = 0, local.tm_sec = 0;
    return std::int64_t(std::mktime(&local)) * 1000;
  }

  std::string prepare() {
    for (const auto& entry : std::filesystem::directory_iterator(NETGLOBE_DATA_DIR)) {
      if (entry.path().extension() == ".dat") std::filesystem::copy(entry.path(), folder.path());
    }
    std::string friends;
    for (int i = 0; i < kPool; i += 2) friends += std::to_string(100000 + i) + "\n";
    folder.write("friends.txt", friends);
    return folder.path();
  }

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

  void fail(const std::string& what) { failures.push_back(what); }

  // ---- the window ----------------------------------------------------------

  void apply(Effects e) {
    if (e.gl == GlWork::LoadTexture) apply(session.textureloaded(false, "no image"));
    if (e.title) title = *e.title;
    for (Layer& layer : e.layers) {
      if (layer.list == kAircraftList) aircraft = std::move(layer);
    }
    for (SideListRows& rows : e.sidelists) boxes[std::size_t(rows.box)] = std::move(rows.rows);
    if (e.pickat) pickpass();
    if (e.startdownload) {
      if (downloading) fail("a second download while one is in flight");
      downloading = true;
    }
    if (e.more && ++pumps > 1) fail("more than one call of next() asked for at a time");
  }

  void pump() {
    if (pumps == 0) return;
    --pumps;
    apply(session.next());
  }

  void answer() {
    if (!downloading) return;
    downloading = false;
    FetchResult result;
    switch (pick(5)) {
      case 0: result.failure = "HTTP 503"; break;
      case 1:
        if (generation > 0) {
          result.ok = true;
          result.notmodified = true;
          break;
        }
        [[fallthrough]];
      default:
        result.ok = true;
        result.body = bodyof(++generation);
    }
    keeppending = result.ok;
    apply(session.downloaded(std::move(result)));
  }

  // A pick pass over the drawn aircraft: a random disc, or nothing.
  void pickpass() {
    std::vector<std::pair<std::uint32_t, GlobePoint>> discs;
    if (aircraft) {
      const auto& ops = aircraft->ops.ops();
      for (std::size_t k = 0; k < ops.size(); ++k) {
        if (ops[k].kind != DrawOp::Kind::LoadName) continue;
        for (std::size_t v = k + 1; v < ops.size(); ++v) {
          if (ops[v].kind == DrawOp::Kind::Vertex) {
            discs.emplace_back(ops[k].name(), ops[v].point());
            break;
          }
        }
      }
    }
    if (discs.empty()) {
      session.picked(0, {});
      return;
    }
    const auto& [name, centre] = discs[std::size_t(pick(int(discs.size())))];
    const std::uint32_t hit[] = {1, 0, 0, name};
    Effects e = session.picked(1, hit);
    if (!e.pick) return;  // waits for the traffic being rebuilt; runs again at its end
    // The disc drawn under that name is the pilot the summary names.
    for (int g = 1; g <= generation; ++g) {
      for (int i = 0; i < kPool; ++i) {
        const GlobePoint p = getxyz(std::stod(fixed2(latof(i, g))), std::stod(fixed2(lonof(i, g))), 0);
        if (std::abs(p.x - centre.x) + std::abs(p.y - centre.y) + std::abs(p.z - centre.z) > 1e-4) continue;
        const std::regex said("^TST" + std::to_string(i) + " .*Gen" + std::to_string(g) + "(\\D|$)");
        if (!std::regex_search(e.pick->summary, said)) {
          fail("a pick over TST" + std::to_string(i) + " of generation " + std::to_string(g) + " says \"" +
               e.pick->summary + "\"");
        }
        return;
      }
    }
  }

  // ---- the events ----------------------------------------------------------

  void doubleclick() {
    std::vector<int> filled;
    for (int box : {3, 5, 6}) {
      if (!boxes[std::size_t(box)].empty()) filled.push_back(box);
    }
    if (filled.empty()) return;
    const int box = filled[std::size_t(pick(int(filled.size())))];
    const std::vector<std::string>& rows = boxes[std::size_t(box)];
    const std::size_t row = std::size_t(pick(int(rows.size())));
    std::smatch m;
    if (!std::regex_search(rows[row], m, std::regex("^TST(\\d+) .*Gen(\\d+)"))) {
      fail("row \"" + rows[row] + "\" names no test pilot");
      return;
    }
    const int i = std::stoi(m[1]), g = std::stoi(m[2]);
    Effects e = session.choosesidelistrow(box, row);
    const ViewCentre want = centreof(std::stod(fixed2(latof(i, g))), std::stod(fixed2(lonof(i, g))));
    const ViewState& view = session.view();
    if (e.timers.empty() || float(view.targetlon) != want.lon || float(view.targettilt) != want.tilt) {
      fail("double-click on \"" + rows[row] + "\" in box " + std::to_string(box) + ": " +
           (e.summary ? *e.summary : "flies elsewhere"));
    }
    apply(std::move(e));
  }

  void replaykey(int code) {
    const bool live = !session.replaying();
    const HistoryStore& store = session.history();
    // From live, "," shows the newest kept refresh, or the one before when
    // the newest is the live copy itself. While an answer waits to be kept
    // the refresh on screen is the one before it: no rule to check.
    std::optional<std::size_t> want;
    if (code == ',' && live && session.started() && store.size() > 0 && !keeppending) {
      want = store.size() - 1;
      const std::string live(statusupdatetime(folder.read("whazzup.txt")));
      if (store.at(*want).update == live && *want > 0) --*want;
    }
    apply(session.key(code));
    if (want && session.replaying() != want) {
      fail("\",\" from live shows kept refresh " +
           (session.replaying() ? std::to_string(*session.replaying()) : std::string("none")) + " of " +
           std::to_string(store.size()) + ", not " + std::to_string(*want));
    }
  }

  void event() {
    clockms += 100 + pick(2000);
    switch (pick(20)) {
      case 0:
      case 1:
      case 2: {
        apply(session.tick(TimerId::Refresh));
        if (session.started() && !session.refreshing()) fail("a refresh tick left no refresh under way");
        break;
      }
      case 3:
      case 4: answer(); break;
      case 5: replaykey(','); break;
      case 6: replaykey('.'); break;
      case 7: replaykey('l'); break;
      case 8: apply(session.key('t')); break;
      case 9:
        apply(session.searchfor(pick(2) ? "tst" : "gen"));
        apply(session.choosematch(std::size_t(pick(3))));
        break;
      case 10: apply(session.tick(TimerId::Flight)); break;
      case 11: apply(session.move(0, float(pick(900)), float(pick(900)))); break;
      case 12: doubleclick(); break;
      case 13: keepfails = pick(3) == 0; break;
      default: pump();
    }
  }

  // Every next() asked for is made and every download answered, until
  // nothing more happens: then no refresh may be left under way.
  void settle() {
    for (int guard = 0; guard < 10000 && (pumps > 0 || downloading); ++guard) {
      if (pumps > 0) {
        pump();
      } else {
        answer();
      }
    }
    if (session.refreshing()) fail("a refresh is still under way with nothing left to run");
  }

  void checkinvariants() {
    if (title.starts_with("REPLAY") != session.replaying().has_value()) {
      fail("title \"" + title + "\" while " + (session.replaying() ? "replaying" : "live"));
    }
    const std::string copy = folder.read("whazzup.txt");
    const std::string update(statusupdatetime(copy));
    if (update < copyupdate) fail("the stored copy went back from " + copyupdate + " to " + update);
    copyupdate = update;
    if (session.feed().lists.topcount < peak) fail("the peak went down");
    peak = session.feed().lists.topcount;
    const HistoryStore& store = session.history();
    const std::string newest = store.size() ? store.at(store.size() - 1).update : "";
    if (newest < keptupdate) fail("the history went back from " + keptupdate + " to " + newest);
    keptupdate = newest;
  }

  void go(int events) {
    apply(session.startup());
    for (int n = 0; n < events && failures.empty(); ++n) {
      event();
      checkinvariants();
      if (n % 60 == 59) settle();
    }
    if (failures.empty()) settle();
    session.shutdown();
  }
};

std::vector<std::uint32_t> seeds() {
  if (const char* one = std::getenv("NETGLOBE_INTERLEAVE_SEED")) return {std::uint32_t(std::stoul(one))};
  const char* runs = std::getenv("NETGLOBE_INTERLEAVE_RUNS");
  const int count = runs ? std::stoi(runs) : 12;
  std::vector<std::uint32_t> all;
  for (int s = 1; s <= count; ++s) all.push_back(std::uint32_t(s));
  return all;
}

TEST(SessionInterleavings, HoldWhateverTheOrderOfEvents) {
  for (const std::uint32_t seed : seeds()) {
    Interleaving run(seed);
    run.go(400);
    EXPECT_TRUE(run.failures.empty()) << "seed " << seed << " (NETGLOBE_INTERLEAVE_SEED=" << seed
                                      << "): " << run.failures.front();
  }
}

}  // namespace
}  // namespace netglobe
