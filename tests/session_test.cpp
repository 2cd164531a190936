// The program's sequences without a window: what startup, a refresh, the
// keys, the mouse and the timers ask the window to do, and in what order.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "base/local_time.h"
#include "history/history_scan.h"
#include "scene/pick_names.h"
#include "session/session.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

const std::string kHeader = "!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n";
const std::string kPilotTail = ":Jane Doe:PILOT::51:12:35000:450:A320:450:EDDB:FL350:EDDT:\n";

FetchResult good(std::string body) {
  FetchResult result;
  result.ok = true;
  result.body = std::move(body);
  return result;
}

FetchResult answer(const std::string& clients) { return good(kHeader + clients + "!SERVERS\n"); }

// A clock that stands still at the test's start.
SessionSetup fixedclock() {
  const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
  return SessionSetup{30, [now] { return now; }, {}};
}

// Runs a sequence to its end the way the window does, loading no image and
// answering the download with `reply`.
struct Driver {
  TempFolder folder;
  Session session;
  explicit Driver(const std::string& data = NETGLOBE_DATA_DIR, SessionSetup setup = fixedclock())
      : session(ServerAddress{}, onefolder(prepare(data)), HistoryRetention::hours(24), std::move(setup)) {}
  std::string prepare(const std::string& data) {
    for (const auto& entry : std::filesystem::directory_iterator(data)) {
      if (entry.path().extension() == ".dat") std::filesystem::copy(entry.path(), folder.path());
    }
    return folder.path();
  }
  // Applies e and whatever follows from it until the sequence waits for a
  // download or ends.
  void follow(Effects e) {
    for (;;) {
      if (e.gl == GlWork::LoadTexture) session.textureloaded(false, "no image");
      if (!e.more) return;
      e = session.next();
    }
  }
  void start(const FetchResult& reply) {
    follow(session.startup());
    follow(session.downloaded(reply));
  }
};

// Milliseconds of a local time of today, days later.
std::int64_t localms(int days, int hour, int minute, int second = 0) {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  t.tm_mday += days, t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second, t.tm_isdst = -1;
  return std::int64_t(std::mktime(&t)) * 1000;
}

// What the window shows while sequences run: the lists compiled so far (the
// newest of each), and at each new title which lists were there by then.
struct Screen {
  std::map<int, Layer> lists;
  std::vector<std::pair<std::string, std::set<int>>> titles;

  std::set<int> drawn() const {
    std::set<int> numbers;
    for (const auto& [number, layer] : lists) numbers.insert(number);
    return numbers;
  }
  void run(Session& session, Effects e) {
    for (;;) {
      if (e.title) titles.emplace_back(*e.title, drawn());
      for (Layer& layer : e.layers) lists.insert_or_assign(layer.list, std::move(layer));
      if (e.gl == GlWork::LoadTexture) session.textureloaded(false, "no image");
      if (!e.more) return;
      e = session.next();
    }
  }
};

// Radius of the first symbol a layer draws: from its first vertex (the
// centre of a disc fan) to its second.
double firstradius(const Layer& layer) {
  std::vector<GlobePoint> points;
  for (const DrawOp& op : layer.ops.ops()) {
    if (op.kind == DrawOp::Kind::Vertex && points.size() < 2) points.push_back(op.point());
  }
  if (points.size() < 2) return 0;
  return std::hypot(points[1].x - points[0].x, points[1].y - points[0].y, points[1].z - points[0].z);
}

TEST(Session, TheTitleChangesBeforeTheTrafficItCounts) {
  std::int64_t now = localms(0, 10, 0, 58);
  Driver d(NETGLOBE_DATA_DIR, SessionSetup{30, [&now] { return now; }, {}});
  const std::set<int> globe{kGradeList, kCoastList, kFirList};
  const std::set<int> traffic{kAircraftList, kActFirList,    kAppList,       kTwrList,       kChiefList,
                              kDirList,      kCtrLabelList, kAprLabelList, kTwrLabelList, kPilotLabelList};
  Screen screen;
  screen.run(d.session, d.session.startup());
  // The startup waits for its download with the globe drawn and no traffic.
  EXPECT_EQ(screen.titles, (decltype(screen.titles){{"Loading...", globe}}));
  EXPECT_FALSE(d.session.started());
  EXPECT_TRUE(d.session.next().layers.empty());
  EXPECT_EQ(d.session.scene().globestyle, 2);  // no image: the plain globe with graticule

  // The counts come first, then the traffic; the log says how long the
  // startup took across the minute.
  now += 5000;
  const FetchResult first = answer("DLH1:100001" + kPilotTail + "EDDT_TWR:100002:Tom:ATC:118.7:52.5:13.3:0:0:\n");
  screen.run(d.session, d.session.downloaded(first));
  ASSERT_EQ(screen.titles.size(), 2u);
  EXPECT_EQ(screen.titles[1], (std::pair<std::string, std::set<int>>{" CTR=0 APP=0 TWR=1 PIL=1 CLI=2 TOP=2", globe}));
  EXPECT_TRUE(d.session.started());
  std::set<int> all = globe;
  all.insert(traffic.begin(), traffic.end());
  EXPECT_EQ(screen.drawn(), all);
  EXPECT_NE(d.session.startuplog().find("\r\n5 Seconds Startup\r\n"), std::string::npos);
  const double startuptower = firstradius(screen.lists.at(kTwrList));

  // A refresh: "Loading..." over the traffic drawn, its counts before its
  // traffic, every traffic layer rebuilt; a tick meanwhile starts nothing.
  screen = Screen{};
  screen.run(d.session, d.session.tick(TimerId::Refresh));
  const Effects again = d.session.tick(TimerId::Refresh);
  EXPECT_FALSE(again.startdownload || again.more);
  screen.run(d.session, d.session.downloaded(answer("EDDT_TWR:100002:Tom:ATC:118.7:52.5:13.3:0:0:\n")));
  EXPECT_EQ(screen.titles, (decltype(screen.titles){{"Loading...", {}}, {" CTR=0 APP=0 TWR=1 PIL=0 CLI=1 TOP=2", {}}}));
  EXPECT_EQ(screen.drawn(), traffic);
  EXPECT_FALSE(d.session.refreshing());
  // The towers of startup (0.1) shrink to their refresh size (0.08).
  EXPECT_NEAR(firstradius(screen.lists.at(kTwrList)) / startuptower, 0.8, 0.01);
}

TEST(Session, InputDuringADownloadActsOnWhatIsOnScreen) {
  Driver d;
  d.follow(d.session.startup());
  // A key during the startup's download acts, and its effect lasts.
  Effects plain = d.session.key('x');
  EXPECT_TRUE(plain.render);
  EXPECT_NE(d.session.scene().globestyle, 1);
  d.follow(d.session.downloaded(answer("DLH1:100001" + kPilotTail)));
  EXPECT_EQ(d.session.scene().globestyle, 2);

  // During a refresh the answer is parsed before the traffic is rebuilt:
  // a pick in between names what is drawn, not what was just parsed.
  d.follow(d.session.tick(TimerId::Refresh));
  Effects e = d.session.downloaded(answer("UAL9:100009:Far Away:PILOT::-30:-140:0:0:B744:0:KSFO::NZAA:\n"));
  ASSERT_TRUE(e.more);
  const std::uint32_t firstpilot[] = {1, 0, 0, pickname(PickKind::Aircraft, 1)};
  EXPECT_EQ(d.session.picked(1, firstpilot).pick->summary.substr(0, 4), "DLH1");
  // Key p rebuilds the aircraft from the drawn lists as well.
  ASSERT_EQ(d.session.key('p').layers.size(), 2u);
  // While the traffic is rebuilt layer by layer a pick waits, and runs again
  // at the end where the cursor last was.
  d.session.move(0, 40, 30);
  while (e.layers.empty()) e = d.session.next();
  EXPECT_FALSE(d.session.picked(1, firstpilot).pick);
  bool again = false;
  while (e.more) {
    e = d.session.next();
    again = again || e.pickat == std::make_pair(40.0f, 30.0f);
  }
  EXPECT_TRUE(again);
  EXPECT_EQ(d.session.picked(1, firstpilot).pick->summary.substr(0, 4), "UAL9");
}

TEST(Session, StartZoomThenLabelSwitchAndAPressStopsFlightAndZoom) {
  Driver d;
  d.start(answer("DLH1:100001" + kPilotTail));
  EXPECT_EQ(d.session.scene().pilotlabels, -1);  // hidden until the zoom ends
  Effects e;
  for (int ticks = 0; e.timers.empty() && ticks < 1000; ++ticks) e = d.session.tick(TimerId::StartZoom);
  EXPECT_EQ(e.timers, (std::vector<TimerSwitch>{{TimerId::StartZoom, false}, {TimerId::LabelSwitch, true}}));
  ASSERT_EQ(e.layers.size(), 1u);
  EXPECT_EQ(e.layers[0].list, kPilotLabelList);
  EXPECT_EQ(d.session.scene().pilotlabelmode, 4);
  EXPECT_EQ(d.session.scene().pilotlabels, 1);
  EXPECT_EQ(d.session.view().viewdist, 2.9);
  e = d.session.tick(TimerId::LabelSwitch);
  EXPECT_EQ(e.timers, (std::vector<TimerSwitch>{{TimerId::LabelSwitch, false}}));
  EXPECT_EQ(d.session.scene().pilotlabelmode, 5);

  // A flight key starts the flight and gives the focus back; a press stops
  // both animations where they are.
  e = d.session.key('q');
  EXPECT_EQ(e.timers, (std::vector<TimerSwitch>{{TimerId::Flight, true}}));
  EXPECT_TRUE(e.focusstatus);
  d.session.tick(TimerId::Flight);
  const ViewState moved = d.session.view();
  e = d.session.press(1, 10, 10);
  EXPECT_EQ(e.timers, (std::vector<TimerSwitch>{{TimerId::Flight, false}, {TimerId::StartZoom, false}}));
  EXPECT_EQ(d.session.view().viewlon, moved.viewlon);
}

TEST(Session, EachDayKeepsItsOwnPeakAcrossMidnightAndShutdown) {
  std::int64_t now = localms(0, 23, 58);
  const auto clock = [&now] { return now; };
  const auto pilots = [](int n) {
    std::string lines;
    for (int i = 0; i < n; ++i) lines += "DLH" + std::to_string(i) + ":10000" + std::to_string(i) + kPilotTail;
    return answer(lines);
  };
  const std::string peakfile = "3\r\n" + localclock(now).date + "\r\n23:58:00\r\n";
  {
    Driver d(NETGLOBE_DATA_DIR, SessionSetup{30, clock, {}});
    d.start(pilots(3));
    EXPECT_EQ(d.folder.read("topconn.txt"), peakfile);
    const auto refresh = [&](int n) {
      d.follow(d.session.tick(TimerId::Refresh));
      Effects e = d.session.downloaded(pilots(n));
      const std::string title = e.title.value_or("");
      d.follow(std::move(e));
      return title;
    };
    EXPECT_EQ(refresh(2), " CTR=0 APP=0 TWR=0 PIL=2 CLI=2 TOP=3");
    // The first refresh after midnight starts the new day's peak from its count.
    now = localms(1, 0, 1);
    EXPECT_EQ(refresh(1), " CTR=0 APP=0 TWR=0 PIL=1 CLI=1 TOP=1");
    EXPECT_EQ(d.folder.read("topconn.txt"), "1\r\n" + localclock(now).date + "\r\n00:01:00\r\n");
    EXPECT_EQ(refresh(2), " CTR=0 APP=0 TWR=0 PIL=2 CLI=2 TOP=2");

    // Closed during a download: its answer is dropped, the copy stays.
    const std::string copy = d.folder.read("whazzup.txt");
    d.follow(d.session.tick(TimerId::Refresh));
    // Closed the day after, before any refresh of that day: the peak is the
    // earlier day's and says so; that day starts again at 1.
    now = localms(2, 0, 5);
    d.session.shutdown();
    EXPECT_FALSE(d.session.downloaded(pilots(9)).title);
    EXPECT_EQ(d.folder.read("whazzup.txt"), copy);
    EXPECT_EQ(d.folder.read("topconn.txt"), "2\r\n" + localclock(localms(1, 0, 1)).date + "\r\n00:01:00\r\n");
    Session again(ServerAddress{}, onefolder(d.folder.path()), HistoryRetention::hours(24),
                  SessionSetup{30, clock, {}});
    EXPECT_EQ(again.feed().lists.topcount, 1);
  }
}

// The download's worker does the answer's disk work; the window's thread
// then shows it without reading a file: a copy gone meanwhile changes nothing
// on screen, and a failed refresh after it shows the copy that stood.
TEST(Session, AnAnswerComesStoredKeptAndIndexedAndIsShownWithoutTheDisk) {
  Driver d;
  d.follow(d.session.startup());
  TakenAnswer taken = d.session.answerjob()(answer("DLH1:100001" + kPilotTail + "DLH2:100002" + kPilotTail));
  EXPECT_NE(d.folder.read("whazzup.txt").find("DLH2:100002"), std::string::npos);
  EXPECT_EQ(d.session.keptrefreshes(), 1u);
  EXPECT_EQ(d.session.feed().lists.pilcount, 0);  // not taken in yet

  std::filesystem::remove(d.folder.path() + "/whazzup.txt");
  Effects e = d.session.downloaded(std::move(taken));
  EXPECT_EQ(e.title, " CTR=0 APP=0 TWR=0 PIL=2 CLI=2 TOP=2");
  d.follow(std::move(e));
  d.session.opensearch();
  const Effects found = d.session.searchfor("DLH");
  ASSERT_TRUE(found.search);
  EXPECT_EQ(found.search->rows.size(), 2u);

  // A failed download keeps the copy as it stood; with none left, nothing.
  d.follow(d.session.tick(TimerId::Refresh));
  e = d.session.downloaded(failedanswer("timed out"));
  EXPECT_EQ(e.title, " CTR=0 APP=0 TWR=0 PIL=0 CLI=0 TOP=2 (update failed: timed out)");
  EXPECT_EQ(d.session.keptrefreshes(), 1u);
}

// The download's worker builds a live answer's traffic with the switches
// it finds; a switch changed before the answer is taken in wins.
TEST(Session, TrafficBuiltWithTheAnswerFollowsASwitchChangedMeanwhile) {
  Driver d;
  const std::string centre = "EDWW_CTR:100002:Tom:ATC:123.1:53:9:0:0:\n";
  d.start(answer(centre));
  const auto fills = [&](bool keyfirst) {
    d.follow(d.session.tick(TimerId::Refresh));
    TakenAnswer taken = d.session.answerjob()(answer(centre + "DLH1:100001" + kPilotTail));
    if (keyfirst) d.follow(d.session.key('c'));
    int drawn = -1;  // fills of the refresh's active-FIR layer
    for (Effects e = d.session.downloaded(std::move(taken));; e = d.session.next()) {
      for (const Layer& layer : e.layers) {
        if (layer.list != kActFirList) continue;
        drawn = 0;
        for (const DrawOp& op : layer.ops.ops()) {
          drawn += op.kind == DrawOp::Kind::Begin && op.prim() == Prim::EvenOddFill;
        }
      }
      if (!e.more) break;
    }
    return drawn;
  };
  EXPECT_EQ(fills(false), 1);
  EXPECT_EQ(fills(true), 0);  // key c: outlines only
  EXPECT_EQ(fills(true), 1);  // and back
}

}  // namespace
}  // namespace netglobe

namespace netglobe {
namespace {

// Ticks the flight to its end; the effects of the arrival.
Effects flyhome(Session& session) {
  for (int i = 0; i < 100000; ++i) {
    Effects e = session.tick(TimerId::Flight);
    if (!e.timers.empty()) return e;
  }
  return {};
}

TEST(Session, SearchFliesToAPilotMarksItAndFollowsItFromRefreshToRefresh) {
  Driver d;
  d.folder.write("friends.txt", "100002\n");
  const std::string ann = "AFR7:100002:Ann Pilot:PILOT::-33.9:151.2:0:0:A320:0:YSSY::NZAA:\n";
  d.start(answer("DLH1:100001" + kPilotTail + ann + "NOPOS:100003:No Where:PILOT::::0:0:A320:0:EDDB::EDDT:\n"));

  // A station-less search: by callsign prefix, any letter case.
  Effects e = d.session.opensearch();
  ASSERT_TRUE(e.search && e.search->open);
  e = d.session.searchfor("nopo");
  ASSERT_EQ(e.search->rows.size(), 1u);
  e = d.session.choosematch(0);  // no position: said in the field, no flight
  ASSERT_TRUE(e.search && e.search->open);
  EXPECT_NE(e.search->footer.find("no position"), std::string::npos);
  EXPECT_TRUE(e.timers.empty());

  e = d.session.searchfor("dlh");
  e = d.session.choosematch(0);
  EXPECT_FALSE(e.search->open);
  EXPECT_EQ(e.timers, (std::vector<TimerSwitch>{{TimerId::Flight, true}}));
  EXPECT_EQ(d.session.view().viewdist, 2.87);
  e = flyhome(d.session);
  // Exactly on the pilot: longitude 12, tilt 90 - 51.
  EXPECT_EQ(d.session.view().viewlon, 12.0f);
  EXPECT_EQ(d.session.view().viewtilt, 39.0f);
  ASSERT_EQ(e.layers.size(), 1u);
  EXPECT_EQ(e.layers[0].list, kMarkerList);
  EXPECT_EQ(d.session.scene().marker, 1);
  ASSERT_TRUE(e.summary);
  EXPECT_EQ(e.summary->substr(0, 4), "DLH1");
  ASSERT_TRUE(d.session.following());
  EXPECT_EQ(d.session.tick(TimerId::Marker).render, true);
  EXPECT_EQ(d.session.scene().marker, -1);

  // The next refresh moved the pilot: the view follows.
  const auto refresh = [&](const std::string& clients) {
    d.follow(d.session.tick(TimerId::Refresh));
    d.follow(d.session.downloaded(answer(clients)));
  };
  refresh("DLH1:100001:Jane Doe:PILOT::52:13.5:35000:450:A320:450:EDDB:FL350:EDDT:\n" + ann);
  EXPECT_EQ(d.session.view().viewlon, 13.5f);
  EXPECT_EQ(d.session.view().viewtilt, 38.0f);
  // A refresh without its position: the view stays, following goes on.
  refresh("DLH1:100001:Jane Doe:PILOT::::35000:450:A320:450:EDDB:FL350:EDDT:\n" + ann);
  EXPECT_EQ(d.session.view().viewlon, 13.5f);
  EXPECT_TRUE(d.session.following());
  // Another member on that callsign is someone else: following ends.
  refresh("DLH1:999999:Jane Doe:PILOT::53:14:35000:450:A320:450:EDDB:FL350:EDDT:\n" + ann);
  EXPECT_FALSE(d.session.following());
  EXPECT_EQ(d.session.view().viewlon, 13.5f);

  // A double-click on the friends list's row flies to that friend.
  e = d.session.choosesidelistrow(3, 0);
  ASSERT_EQ(e.timers, (std::vector<TimerSwitch>{{TimerId::Flight, true}}));
  flyhome(d.session);
  EXPECT_EQ(d.session.view().viewlon, 151.2f);
  EXPECT_FLOAT_EQ(d.session.view().viewtilt, 90 + 33.9f);
  // A key that changes the view ends following; one that does not keeps it.
  ASSERT_TRUE(d.session.following());
  d.session.key('n');
  EXPECT_TRUE(d.session.following());
  d.session.key('+');
  EXPECT_FALSE(d.session.following());
}

}  // namespace
}  // namespace netglobe

namespace netglobe {
namespace {

// A status file with an UPDATE time and one pilot at lat/lon.
FetchResult at(const std::string& update, double lat, double lon) {
  return good("!GENERAL\nVERSION = 8\nRELOAD = 2\nUPDATE = " + update +
              "\nCONNECTED CLIENTS = 1\nSERVERS = 1\n!CLIENTS\nDLH1:100001:Jane Doe:PILOT::" +
              std::to_string(lat) + ":" + std::to_string(lon) +
              ":35000:450:A320:450:EDDB:FL350:EDDT:\n!SERVERS\n");
}

// Runs a sequence to its end; its title, if it set one.
std::string run(Session& session, Effects e) {
  std::string title;
  for (;;) {
    if (e.title) title = *e.title;
    if (!e.more) return title;
    e = session.next();
  }
}

// Where the pick summary's pilot is: the aircraft layer's first name.
std::string pilotsummary(Session& session) {
  const std::uint32_t hit[] = {1, 0, 0, pickname(PickKind::Aircraft, 1)};
  return session.picked(1, hit).pick->summary;
}

TEST(Session, ReplayStepsThroughKeptRefreshesWhileLiveRefreshesGoOn) {
  Driver d;
  d.start(at("20261207100000", 50, 10));
  const auto refresh = [&](const FetchResult& answer) {
    run(d.session, d.session.tick(TimerId::Refresh));
    return run(d.session, d.session.downloaded(answer));
  };
  refresh(at("20261207100030", 51, 11));
  refresh(at("20261207100100", 52, 12));
  EXPECT_EQ(d.session.keptrefreshes(), 3u);
  refresh(at("20261207100100", 52, 12));  // nothing new: not kept again
  EXPECT_EQ(d.session.keptrefreshes(), 3u);

  // "," twice: two refreshes back, everything from the kept one.
  EXPECT_EQ(run(d.session, d.session.key(',')).substr(0, 22), "REPLAY 20261207100030 ");
  EXPECT_EQ(run(d.session, d.session.key(',')), "REPLAY 20261207100000 CTR=0 APP=0 TWR=0 PIL=1 CLI=1 TOP=1");
  run(d.session, d.session.key(','));  // the oldest stays
  EXPECT_EQ(d.session.replaying(), std::optional<std::size_t>(0));
  Effects trails = d.session.key('t');
  ASSERT_EQ(trails.layers.size(), 1u);
  EXPECT_EQ(trails.layers[0].list, kTrailList);

  // A live refresh meanwhile is stored and kept, not shown; a step of replay
  // while its download runs is shown whole all the same.
  const std::string title = run(d.session, d.session.tick(TimerId::Refresh));
  EXPECT_EQ(title.substr(0, 6), "REPLAY");
  std::set<int> rebuilt;
  for (Effects step = d.session.key('.');; step = d.session.next()) {
    for (const Layer& layer : step.layers) rebuilt.insert(layer.list);
    if (!step.more) break;
  }
  // The traffic, the labels and the trails.
  EXPECT_EQ(rebuilt, (std::set<int>{kAircraftList, kActFirList, kAppList, kTwrList, kChiefList, kDirList,
                                    kCtrLabelList, kAprLabelList, kTwrLabelList, kPilotLabelList, kTrailList}));
  // Its answer is kept even when a step of replay comes before the keeping.
  const Effects answered = d.session.downloaded(at("20261207100130", 53, 13));
  EXPECT_FALSE(answered.title);
  run(d.session, d.session.key(','));
  EXPECT_NE(d.folder.read("whazzup.txt").find("UPDATE = 20261207100130"), std::string::npos);
  EXPECT_EQ(d.session.keptrefreshes(), 4u);
  EXPECT_EQ(d.session.view().viewlon, ViewState{}.viewlon);

  // "." past the newest kept refresh is live again; "l" too.
  run(d.session, d.session.key('.'));
  EXPECT_EQ(d.session.replaying(), std::optional<std::size_t>(1));
  run(d.session, d.session.key('.'));
  run(d.session, d.session.key('.'));
  EXPECT_EQ(run(d.session, d.session.key('.')), " CTR=0 APP=0 TWR=0 PIL=1 CLI=1 TOP=1");
  EXPECT_FALSE(d.session.replaying());
  run(d.session, d.session.key(','));
  EXPECT_EQ(d.session.replaying(), std::optional<std::size_t>(2));  // the one before the live one
  run(d.session, d.session.key('l'));
  EXPECT_FALSE(d.session.replaying());

  // A restart in the same folder reads the store and steps back into it.
  Session again(ServerAddress{}, onefolder(d.folder.path()), HistoryRetention::hours(24), fixedclock());
  Effects e = again.startup();
  EXPECT_TRUE(e.scanhistory);
  run(again, again.historyfound(scanhistory(again.historyfolder())));
  while (e.more || e.startdownload) {
    if (e.startdownload) e = again.downloaded(at("20261207100130", 53, 13));
    if (!e.more) break;
    e = again.next();
  }
  EXPECT_EQ(again.keptrefreshes(), 4u);
  EXPECT_EQ(run(again, again.key(',')).substr(0, 21), "REPLAY 20261207100100");
  EXPECT_EQ(pilotsummary(again).substr(0, 4), "DLH1");
  // So is an answer in just before the end.
  run(again, again.tick(TimerId::Refresh));
  again.downloaded(at("20261207100200", 54, 14));
  again.shutdown();
  EXPECT_EQ(again.keptrefreshes(), 5u);
}

}  // namespace
}  // namespace netglobe
