// The session under a globe filter and with friends coming online: what is
// drawn, picked and titled across refreshes, replay steps and restarts, and
// what is said about friends.
#include <gtest/gtest.h>

#include <filesystem>

#include "scene/pick_names.h"
#include "lists/filter_file.h"
#include "session/session.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

const std::string kHeader = "!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n";
std::string pilot(const std::string& callsign, const std::string& id, const std::string& dest) {
  return callsign + ":" + id + ":Some Pilot Name:PILOT::51:12:35000:450:A320:450:EDDB:FL350:" + dest + ":\n";
}
const std::string kTower = "EDDT_TWR:300001:Tegel Tower Name:ATC:118.7:52.5:13.3:0:0::::::\n";

FetchResult answer(const std::string& update, const std::string& clients) {
  FetchResult result;
  result.ok = true;
  result.body = "!GENERAL\nUPDATE = " + update + "\n2\n3\n4\n5\n!CLIENTS\n" + clients + "!SERVERS\n";
  return result;
}

// Everything the window was told while a sequence ran to its end.
struct Seen {
  std::vector<std::string> titles;
  std::vector<int> lists;
  std::vector<std::string> notices;
  std::vector<std::string> notify;
};

struct Viewer {
  TempFolder folder;
  std::unique_ptr<Session> session;

  Viewer() {
    for (const auto& entry : std::filesystem::directory_iterator(NETGLOBE_DATA_DIR)) {
      if (entry.path().extension() == ".dat") std::filesystem::copy(entry.path(), folder.path());
    }
    restart();
  }
  void restart() {
    if (session) session->shutdown();
    session = std::make_unique<Session>(ServerAddress{}, onefolder(folder.path()), HistoryRetention::hours(24));
  }
  Seen follow(Effects e) {
    Seen seen;
    for (;;) {
      if (e.title) seen.titles.push_back(*e.title);
      for (const Layer& layer : e.layers) seen.lists.push_back(layer.list);
      if (e.notice) seen.notices.push_back(*e.notice);
      seen.notify.insert(seen.notify.end(), e.notify.begin(), e.notify.end());
      if (e.gl == GlWork::LoadTexture) session->textureloaded(false, "no image");
      // The window's driver writes it on another thread.
      if (e.keepfilter) session->filterkept(session->filterjob()(*e.keepfilter));
      if (!e.more) return seen;
      e = session->next();
    }
  }
  Seen start(const FetchResult& first) {
    follow(session->startup());
    return follow(session->downloaded(first));
  }
  Seen refresh(const FetchResult& next) {
    follow(session->tick(TimerId::Refresh));
    return follow(session->downloaded(next));
  }
  // The summary a pick over the n-th drawn aircraft gives; "" for none.
  std::string pickpilot(int n) {
    const std::uint32_t hit[] = {1, 0, 0, pickname(PickKind::Aircraft, n)};
    const Effects e = session->picked(1, hit);
    return e.pick ? e.pick->summary.substr(0, e.pick->summary.find(' ')) : "?";
  }
};

const FetchResult kFirst =
    answer("20261208000000", pilot("AAA1", "100001", "EGLL") + pilot("BBB2", "100002", "EDDT") + kTower +
                                 pilot("CCC3", "100003", "EDDT"));
const FetchResult kSecond =
    answer("20261208000100", pilot("AAA1", "100001", "EGLL") + pilot("BBB2", "100002", "EDDT") + kTower +
                                 pilot("CCC3", "100003", "EDDT") + pilot("DDD4", "100004", "EDDT"));

TEST(SessionFilter, DrawsAndPicksOnlyTheMatchesThroughRefreshesReplayAndRestarts) {
  Viewer r;
  r.start(kFirst);
  EXPECT_EQ(r.pickpilot(1), "AAA1");

  Effects set = r.session->setfilter("to:EDDT");
  // The session asks for the filter to be kept and leaves the write to
  // whoever runs its job: a keystroke never waits on the disk.
  EXPECT_EQ(set.keepfilter, std::optional<std::string>("to:EDDT"));
  EXPECT_FALSE(std::filesystem::exists(r.folder.file(kFilterFileName)));
  Seen seen = r.follow(std::move(set));
  // Only the traffic is drawn again (aircraft, courses, FIRs, chiefs,
  // stations, labels), never the static layers.
  EXPECT_EQ(seen.lists, (std::vector<int>{3, 12, 8, 11, 9, 10, 13, 14, 15, 16}));
  EXPECT_EQ(seen.titles.back(), " CTR=0 APP=0 TWR=1 PIL=3 CLI=4 TOP=4 FILTER \"to:EDDT\" 2/4");
  // Picks name what is drawn: the aircraft bound there, in their order.
  EXPECT_EQ(r.pickpilot(1), "BBB2");
  EXPECT_EQ(r.pickpilot(2), "CCC3");
  // The same words again draw nothing again.
  EXPECT_TRUE(r.follow(r.session->setfilter(" to:EDDT ")).lists.empty());

  seen = r.refresh(kSecond);
  // The counts come once the filtered lists are counted, not before.
  EXPECT_EQ(seen.titles, std::vector<std::string>{" CTR=0 APP=0 TWR=1 PIL=4 CLI=5 TOP=5 FILTER \"to:EDDT\" 3/5"});
  EXPECT_EQ(r.pickpilot(3), "DDD4");

  // A step of replay shows the kept refresh through the filter.
  seen = r.follow(r.session->key(','));
  EXPECT_EQ(seen.titles.back(), "REPLAY 20261208000000 CTR=0 APP=0 TWR=1 PIL=3 CLI=4 TOP=5 FILTER \"to:EDDT\" 2/4");
  EXPECT_EQ(r.pickpilot(2), "CCC3");
  r.follow(r.session->key('l'));
  EXPECT_EQ(r.pickpilot(3), "DDD4");

  // Kept across a restart.
  r.restart();
  EXPECT_EQ(r.session->filter().query().text, "to:EDDT");
  seen = r.start(kSecond);
  EXPECT_EQ(seen.titles.back(), " CTR=0 APP=0 TWR=1 PIL=4 CLI=5 TOP=5 FILTER \"to:EDDT\" 3/5");

  // Esc in the field ends it: everything is drawn and picked again, and the
  // next run starts without it.
  r.follow(r.session->opensearch());
  seen = r.follow(r.session->closesearch());
  EXPECT_EQ(seen.titles.back(), " CTR=0 APP=0 TWR=1 PIL=4 CLI=5 TOP=5");
  EXPECT_EQ(r.pickpilot(1), "AAA1");
  r.restart();
  EXPECT_FALSE(r.session->filter().on());
}

TEST(SessionFilter, TheFieldTurnsItsQueryIntoTheFilterAndSaysWhatItCannotUse) {
  Viewer r;
  r.start(kFirst);
  r.follow(r.session->opensearch());
  r.follow(r.session->searchfor("aaa"));
  Effects e = r.session->filterfromfield("aaa sort:name");
  ASSERT_TRUE(e.search);
  EXPECT_FALSE(e.search->open);  // the keys act on the globe again
  Seen seen = r.follow(std::move(e));
  EXPECT_EQ(seen.titles.back(), " CTR=0 APP=0 TWR=1 PIL=3 CLI=4 TOP=4 FILTER \"aaa sort:name\" 1/4");

  // Opened again, the field holds the filter, lists what it draws and says
  // what it ignores; each edit changes the filter, an empty text ends it.
  e = r.session->opensearch();
  EXPECT_TRUE(e.search->filtering);
  EXPECT_EQ(e.search->text, "aaa sort:name");
  EXPECT_EQ(e.search->rows, std::vector<std::string>{"AAA1 PIL> Some Pilot Name"});
  EXPECT_EQ(e.search->footer, "\"sort:name\" is no filter word (it filters nothing)");
  e = r.session->searchfor("pilot");
  EXPECT_EQ(e.search->rows.size(), 3u);
  EXPECT_EQ(e.search->rows[1], "BBB2 PIL> Some Pilot Name");
  seen = r.follow(std::move(e));
  EXPECT_EQ(seen.titles.back(), " CTR=0 APP=0 TWR=1 PIL=3 CLI=4 TOP=4 FILTER \"pilot\" 3/4");
  e = r.session->searchfor("");
  EXPECT_FALSE(e.search->filtering);
  EXPECT_EQ(r.follow(std::move(e)).titles.back(), " CTR=0 APP=0 TWR=1 PIL=3 CLI=4 TOP=4");
}

TEST(SessionFriends, LiveRefreshesSayWhoCameOnlineAndReplayNeverDoes) {
  Viewer r;
  r.folder.write("friends.txt", "100002\n100004\n");
  Seen seen = r.start(kFirst);
  EXPECT_EQ(seen.notices, std::vector<std::string>{"friends online: BBB2 (Some Pilot Name)"});
  EXPECT_EQ(seen.notify, seen.notices);

  seen = r.refresh(kSecond);
  EXPECT_EQ(seen.notices, std::vector<std::string>{"DDD4 (Some Pilot Name) is online"});
  EXPECT_EQ(seen.notify, seen.notices);

  for (const int key : {',', '.', ',', 'l'}) {
    seen = r.follow(r.session->key(key));
    EXPECT_TRUE(seen.notices.empty() && seen.notify.empty()) << char(key);
  }
  // A failed request, then the same clients again: nobody new.
  FetchResult failed;
  failed.failure = "connection refused";
  EXPECT_TRUE(r.refresh(failed).notices.empty());
  EXPECT_TRUE(r.refresh(kSecond).notices.empty());
  seen = r.refresh(kFirst);
  EXPECT_TRUE(seen.notices.empty());
  seen = r.refresh(kSecond);
  EXPECT_EQ(seen.notify, std::vector<std::string>{"DDD4 (Some Pilot Name) is online"});
}

}  // namespace
}  // namespace netglobe
