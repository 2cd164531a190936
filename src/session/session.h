#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "base/program_folders.h"
#include "feed/feed_refresh.h"
#include "feed/peak_file.h"
#include "history/history_option.h"
#include "history/history_scan.h"
#include "history/history_store.h"
#include "lists/client_follow.h"
#include "lists/friends_online.h"
#include "lists/client_index.h"
#include "lists/said_once.h"
#include "refdata/directories.h"
#include "refdata/friends_file.h"
#include "refdata/home_file.h"
#include "scene/mouse_steps.h"
#include "scene/scene_state.h"
#include "scene/view_status.h"
#include "session/details_panel.h"
#include "session/effects.h"
#include "session/finding.h"
#include "session/globe_filter.h"
#include "session/replay.h"
#include "session/step_queue.h"
#include "session/traffic_plan.h"
#include "session/traffic_prebuild.h"

namespace netglobe {

// What surrounds the session: the refresh period, the clock and the
// keeping of answers. Tests stand in for the last two.
struct SessionSetup {
  int refreshseconds = 30;
  // Milliseconds since 1970 (UTC); the system clock when empty.
  std::function<std::int64_t()> nowms;
  // Keeps a refresh in the store; HistoryStore::keep when empty.
  Replay::Keeper keep;
};

// A download's answer with its disk work done where the download ran: the
// copy stored and parsed, the answer kept in the history, the copy's client
// index made. The window's thread only takes it in.
struct TakenAnswer {
  StoredAnswer stored;
  std::optional<KeepResult> kept;  // none when there was nothing to keep
  std::shared_ptr<const ClientIndex> index;
  PrebuiltTraffic traffic;  // empty when the window's thread builds it
};

// The program itself, without a window: the scene switches, the view, the
// status feed, the reference directories, the friends, the peak and the
// pointer. Each event of the program is one call; each returns what the
// window has to do. Everything runs on the window's thread but the download
// with its answer's job and the history scan, which the window runs
// elsewhere, and the build of the startup's static layers, which the
// session runs beside its first steps itself.
class Session {
 public:
  Session(std::optional<FeedSource> source, const ProgramFolders& folders,
          HistoryRetention history = HistoryRetention::hours(kDefaultHistoryHours), SessionSetup setup = {});

  // Startup, run once when the window first shows; it goes on through
  // next() and downloaded() until an Effects says startupfinished.
  Effects startup();
  // The next steps of a running sequence (after Effects::more).
  Effects next();
  // The globe image was loaded, or why not.
  Effects textureloaded(bool ok, const std::string& reason);
  // What turns the answer of the download that an Effects asked for into a
  // TakenAnswer: store, parse, keep, index. Made on the window's thread;
  // the job itself runs on the download's worker, before downloaded().
  using AnswerJob = std::function<TakenAnswer(FetchResult)>;
  AnswerJob answerjob();
  // The answer of the download that an Effects asked for, taken in.
  Effects downloaded(TakenAnswer answer);
  // The same with its job run here first.
  Effects downloaded(FetchResult answer);
  // What the scan of the history folder that an Effects asked for found.
  Effects historyfound(HistoryIndex found);

  // A key typed into the status line: one windows-1252 code.
  Effects key(int code);
  // Mouse buttons as the mouse steps count them; positions in window pixels.
  Effects press(int button, float x, float y);
  Effects release(int button);
  Effects move(int buttons, float x, float y);
  Effects wheel(float notches, float x, float y);
  // The hits of a pick pass that an Effects asked for.
  Effects picked(int hits, std::span<const std::uint32_t> selbuf);

  // The search field: opened with Ctrl+F or "/" typed into the status line,
  // closed with Esc. The field's text (windows-1252) gives its matches; a
  // chosen match (Return: the first) is flown to unless it has no position.
  Effects opensearch();
  Effects closesearch();
  Effects searchfor(const std::string& text);
  Effects choosematch(std::size_t match);
  // A double-click on a row of side list box (1 to 6) flies to its client.
  Effects choosesidelistrow(int box, std::size_t row);

  // The field's query as the globe filter (an empty one ends it): the
  // traffic layers are drawn again from the matching clients. While the
  // filter is on, the field lists what is drawn, each edit of it changes
  // the filter and Esc ends it.
  Effects setfilter(const std::string& text);
  // What writes a filter an Effects asks to keep, on any thread; what its
  // write said, taken in.
  GlobeFilter::Keeper filterjob() const;
  Effects filterkept(const std::string& failure);
  // The same, and the field closes: the keys act on the globe again.
  Effects filterfromfield(const std::string& text);
  const GlobeFilter& filter() const { return filter_; }

  // The details panel: closed by its button or Esc; a click on one of its
  // lines that names a pilot flies there and shows its flight.
  Effects closedetails();
  Effects choosedetailsline(std::size_t line);
  bool detailsopen() const { return details_.isopen(); }

  // The aerodromes of the inbound and outbound lists for this run, in place
  // of those of home.txt and the built-in ones.
  void sethomeairports(std::vector<std::string> codes) { homeairports_ = std::move(codes); }

  Effects tick(TimerId timer);
  // The window's timers and their periods.
  static std::span<const TimerId> timers();
  int periodms(TimerId timer) const;
  // The request of the download an Effects asked for.
  std::optional<FetchRequest> downloadrequest() const { return nextrequest(feed_); }
  // Stops the timers and writes the peak; once.
  Effects shutdown();

  const SceneState& scene() const { return scene_; }
  const ViewState& view() const { return view_; }
  const FeedState& feed() const { return feed_; }
  const std::string& startuplog() const { return log_; }
  const std::string& globeimagefile() const { return files_.globeimage; }
  const std::string& historyfolder() const { return replay_.store().folder(); }
  // The kept refresh on screen (oldest first), or nothing when live.
  std::optional<std::size_t> replaying() const { return replay_.index(); }
  std::size_t keptrefreshes() const { return replay_.size(); }
  const HistoryStore& history() const { return replay_.store(); }
  bool started() const { return started_; }
  // A download or the steps after it are under way.
  bool refreshing() const { return steps_.refreshing(); }
  // The pilot the view follows from refresh to refresh.
  const std::optional<FollowedPilot>& following() const { return finding_.following(); }

 private:
  Effects runsteps();
  void run(const Step& step, Effects& out);
  void queueaftertheanswer();
  void endrebuild(Effects& out);
  Effects replaykey(int code);
  Effects showkept(std::size_t index);
  Effects golive();
  void addtrails(Effects& out);
  void takecopytoshow();
  LineReader nextcopy() const;
  void sidelist(int routine, Effects& out);
  void logline(const std::string& line, Effects& out);
  void addlayer(Layer layer, Effects& out);
  void addkeyaction(const KeyAction& action, Effects& out);
  void refreshreferences(Effects& out);
  void say(const std::string& source, const std::string& reason, Effects& out);
  TrafficSources sources() const;
  TrafficSwitches trafficswitches() const;
  void pilotlabelsnow(int mode, Effects& out);
  Layer staticlayer(int list);
  std::int64_t nowms() const { return setup_.nowms(); }
  // The globe filter and friends online (session_filter.cpp).
  LineReader showncopy() const;
  void showthroughfilter(Effects& out);
  Effects filteredsearch();
  std::string screentitle() const;
  void friendnews(Effects& out);

  void opendetails(const Finding::Opens& opens, Effects& out);
  void showdetails(Effects& out, bool readkept = false);
  void clickat(Effects& out);
  HomeRegion homeregion() const;

  SessionSetup setup_;
  ReferenceFiles files_;
  RefDirectories refs_;
  FriendsFile friends_;
  HomeFile home_;
  std::optional<std::vector<std::string>> homeairports_;  // --home
  PeakFile peak_;
  SaidOnce said_;  // failures that last are said once, not at every refresh

  SceneState scene_;
  ViewState view_;
  FeedState feed_;
  // The lists the drawn traffic was built from: picks and keys read these,
  // so that what they name is what is on screen while a refresh goes on.
  StatusLists shown_;
  Pointer pointer_;
  std::uint32_t pickedname_ = 0;  // object the pick summary names
  std::uint32_t underpointer_ = 0;  // object the last pick found right under the pointer
  std::pair<float, float> pressat_{0, 0};  // where the left button went down
  DetailsPanel details_;
  std::string log_;               // the startup log, UTF-8
  Finding finding_;
  // The copy a show sequence shows, taken whole when it begins: an answer
  // that arrives meanwhile rewrites the stored copy, not what is shown.
  std::optional<std::string> nexttext_;  // none when the stored copy could not be read
  StatusLists nextlists_;
  std::shared_ptr<const ClientIndex> nextindex_;
  std::optional<std::string> showntext_;  // the text the drawn traffic came from
  StatusLists unfiltered_;  // the lists of showntext_ before the globe filter
  GlobeFilter filter_;
  std::string filterdamage_;  // said once at startup
  FriendsOnline friendsonline_;
  // The live copy's text as the last answer left it, and its index: a show
  // of the live refresh reads no file.
  std::optional<std::string> livecopy_;
  std::shared_ptr<const ClientIndex> liveindex_;
  // The traffic of the live answer as its worker built it. Answers are
  // numbered from 1; a show of a kept refresh shows answer 0.
  PrebuiltTraffic prebuilt_;
  std::uint64_t liveanswer_ = 0;
  std::uint64_t shownanswer_ = 0;
  bool globeimage_ = false;
  // The graticule, coastlines and FIR outlines, built on a thread of their
  // own from the startup's start, so that their steps only hand them over.
  struct StaticLayers {
    Layer grade, coast, firs;
  };
  std::future<StaticLayers> staticbuild_;
  std::optional<StaticLayers> staticlayers_;
  Replay replay_;
  StepQueue steps_;

  bool pickwaiting_ = false;  // a pick came while traffic was rebuilt: run it again at the end
  std::pair<float, float> lastpick_{0, 0};
  int startsec_ = 0;
  bool startupbegun_ = false;
  bool started_ = false;
  bool shutdown_ = false;
};

}  // namespace netglobe
