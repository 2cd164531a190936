// The program's sequences without a window: what startup, a refresh, the
// keys, the mouse and the timers ask the window to do, and in what order.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

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

// What the window is told, one line per instruction, "|" where it handles
// its events before asking for more.
struct Trace {
  std::vector<std::string> lines;
  std::size_t logseen = 0;

  void add(const Effects& e) {
    if (e.logtext) {
      for (std::size_t end; (end = e.logtext->find("\r\n", logseen)) != std::string::npos; logseen = end + 2) {
        lines.push_back("log " + e.logtext->substr(logseen, end - logseen));
      }
    }
    if (e.title) lines.push_back("title " + *e.title);
    if (e.gl != GlWork::None) lines.push_back("gl " + std::to_string(int(e.gl)));
    for (const Layer& layer : e.layers) lines.push_back("list " + std::to_string(layer.list));
    for (const SideListRows& rows : e.sidelists) lines.push_back("box " + std::to_string(rows.box));
    for (const TimerSwitch& t : e.timers) {
      lines.push_back("timer " + std::to_string(int(t.timer)) + (t.on ? " on" : " off"));
    }
    if (e.hidelog) lines.push_back("hide log");
    if (e.render) lines.push_back("render");
    if (e.startdownload) lines.push_back("download");
    if (e.startupfinished) lines.push_back("started");
  }
};

// Runs a sequence to its end the way the window does, loading no image and
// answering the download with `reply`.
struct Driver {
  TempFolder folder;
  Session session;
  Trace trace;
  explicit Driver(const std::string& data = NETGLOBE_DATA_DIR)
      : session(ServerAddress{}, onefolder(prepare(data)), HistoryRetention::hours(24), fixedclock()) {}
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
      trace.add(e);
      if (e.gl == GlWork::LoadTexture) trace.add(session.textureloaded(false, "no image"));
      if (!e.more) return;
      trace.lines.push_back("|");
      e = session.next();
    }
  }
  void start(const FetchResult& reply) {
    follow(session.startup());
    follow(session.downloaded(reply));
  }
};

std::vector<std::string> between(const std::vector<std::string>& lines, const std::string& from,
                                 const std::string& to) {
  auto first = std::find(lines.begin(), lines.end(), from);
  auto last = std::find(first, lines.end(), to);
  return {first, last == lines.end() ? last : last + 1};
}

TEST(Session, StartupRunsItsStepsInOrderAndWaitsForTheDownload) {
  Driver d;
  d.trace.logseen = d.session.startuplog().size();
  d.follow(d.session.startup());
  // Nothing after the download's start until its answer is in.
  EXPECT_EQ(d.trace.lines, (std::vector<std::string>{
      "log Load Texture", "gl 1", "|", "gl 2", "log no image", "|",
      "log Create Globe", "|", "gl 3", "render", "|",
      "log 10 Degrees", "|", "list 2", "render", "|",
      "log Show Coastlines", "|", "list 6", "render", "|",
      "log Show Fir's", "|", "list 4", "render", "|",
      "log Get Whazzup", "|", "title Loading...", "download"}));
  EXPECT_EQ(d.session.scene().globestyle, 2);  // no image: the plain globe with graticule
  EXPECT_FALSE(d.session.started());
  EXPECT_TRUE(d.session.next().layers.empty());

  d.trace.lines.clear();
  d.follow(d.session.downloaded(answer("DLH1:100001" + kPilotTail)));
  // The answer comes stored, parsed and kept: its side lists follow at once.
  EXPECT_EQ(d.trace.lines, (std::vector<std::string>{
      "title  CTR=0 APP=0 TWR=0 PIL=1 CLI=1 TOP=1", "|", "box 1", "box 2", "|", "box 3", "|", "box 4", "|",
      "box 5", "|", "box 6", "|",
      "log Show ACT-Fir's", "|", "list 8", "render", "|",
      "log Show Chiefs", "|", "list 11", "render", "|",
      "log Show APP's", "|", "list 9", "render", "|",
      "log Show TWR's", "|", "list 10", "list 13", "list 14", "list 15", "list 16", "render", "|",
      "log Show Aircrafts", "|", "list 3", "list 12", "render", "|",
      "log 0 Seconds Startup", "log Use Keys q,w,e,a,s",
      "log Use Keys d,y,x,1,2", "log Click here to Hide", "timer 0 on", "timer 2 on", "hide log",
      "started"}));
  EXPECT_TRUE(d.session.started());
}

TEST(Session, RefreshesOneAtATimeInTheirOrderWithTheirTowerSize) {
  Driver d;
  const FetchResult first = answer("DLH1:100001" + kPilotTail + "EDDT_TWR:100002:Tom:ATC:118.7:52.5:13.3:0:0:\n");
  d.start(first);
  Layer startuptowers;

  d.trace.lines.clear();
  d.follow(d.session.tick(TimerId::Refresh));
  EXPECT_EQ(d.trace.lines, (std::vector<std::string>{"title Loading...", "hide log", "download"}));
  // A tick while the download runs starts nothing.
  d.trace.lines.clear();
  d.follow(d.session.tick(TimerId::Refresh));
  EXPECT_TRUE(d.trace.lines.empty());

  Effects e = d.session.downloaded(first);
  std::vector<Layer> layers;
  for (;;) {
    d.trace.add(e);
    for (Layer& layer : e.layers) layers.push_back(std::move(layer));
    if (!e.more) break;
    d.trace.lines.push_back("|");
    e = d.session.next();
  }
  EXPECT_EQ(between(d.trace.lines, "box 6", "render"),
            (std::vector<std::string>{"box 6", "|", "list 3", "|", "list 12", "|", "list 8", "|", "list 11",
                                      "|", "list 9", "|", "list 10", "|", "list 13", "|", "list 14", "|",
                                      "list 15", "|", "list 16", "|", "render"}));
  EXPECT_FALSE(d.session.refreshing());

  // The towers of startup (0.1) shrink to their refresh size (0.08): the
  // same station gives a smaller symbol.
  Driver fresh;
  Layer atstartup;
  Effects s = fresh.session.startup();
  while (s.more || s.startdownload) {
    if (s.startdownload) s = fresh.session.downloaded(first);
    for (Layer& layer : s.layers) {
      if (layer.list == kTwrList) atstartup = std::move(layer);
    }
    if (s.gl == GlWork::LoadTexture) fresh.session.textureloaded(false, "");
    if (!s.more) break;
    s = fresh.session.next();
  }
  const auto tower = std::find_if(layers.begin(), layers.end(), [](const Layer& l) { return l.list == kTwrList; });
  ASSERT_NE(tower, layers.end());
  ASSERT_FALSE(atstartup.ops.empty());
  EXPECT_NE(tower->ops.ops().size(), 0u);
  EXPECT_FALSE(std::equal(tower->ops.ops().begin(), tower->ops.ops().end(), atstartup.ops.ops().begin(),
                          atstartup.ops.ops().end(), [](const DrawOp& a, const DrawOp& b) {
                            const GlobePoint p = a.point(), q = b.point();
                            return a.kind == b.kind && p.x == q.x && p.y == q.y && p.z == q.z;
                          }));
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
  int ticks = 0;
  Effects e;
  do {
    e = d.session.tick(TimerId::StartZoom);
    ++ticks;
  } while (e.timers.empty() && ticks < 1000);
  EXPECT_EQ(ticks, 87);
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

TEST(Session, ShutdownDuringADownloadWritesThePeakAndDropsTheAnswer) {
  Driver d;
  d.start(answer("DLH1:100001" + kPilotTail + "DLH2:100002" + kPilotTail));
  const std::string copy = d.folder.read("whazzup.txt");
  d.follow(d.session.tick(TimerId::Refresh));
  d.session.shutdown();
  EXPECT_NE(d.folder.read("topconn.txt").find('2'), std::string::npos);
  EXPECT_FALSE(d.session.downloaded(answer("")).title);
  EXPECT_EQ(d.folder.read("whazzup.txt"), copy);
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
  d.trace.lines.clear();
  d.follow(d.session.downloaded(std::move(taken)));
  EXPECT_EQ(d.trace.lines.front(), "title  CTR=0 APP=0 TWR=0 PIL=2 CLI=2 TOP=2");
  d.session.opensearch();
  const Effects found = d.session.searchfor("DLH");
  ASSERT_TRUE(found.search);
  EXPECT_EQ(found.search->rows.size(), 2u);

  // A failed download keeps the copy as it stood; with none left, nothing.
  d.follow(d.session.tick(TimerId::Refresh));
  FetchResult down;
  down.failure = "timed out";
  d.trace.lines.clear();
  d.follow(d.session.downloaded(down));
  EXPECT_EQ(d.trace.lines.front(), "title  CTR=0 APP=0 TWR=0 PIL=0 CLI=0 TOP=2 (update failed: timed out)");
  EXPECT_EQ(d.session.keptrefreshes(), 1u);
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
  std::size_t rebuilt = 0;
  for (Effects step = d.session.key('.');; step = d.session.next()) {
    rebuilt += step.layers.size();
    if (!step.more) break;
  }
  EXPECT_GE(rebuilt, 10u);  // the traffic, the labels and the trails
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
