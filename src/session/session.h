#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "base/program_folders.h"
#include "feed/feed_refresh.h"
#include "feed/peak_file.h"
#include "history/history_option.h"
#include "history/history_scan.h"
#include "history/history_store.h"
#include "history/pilot_positions.h"
#include "lists/client_follow.h"
#include "lists/client_index.h"
#include "lists/client_search.h"
#include "lists/said_once.h"
#include "lists/side_lists.h"
#include "refdata/directories.h"
#include "refdata/friends_file.h"
#include "refdata/home_file.h"
#include "scene/mouse_steps.h"
#include "scene/scene_state.h"
#include "scene/view_status.h"
#include "session/details_panel.h"
#include "session/effects.h"
#include "session/traffic_plan.h"

namespace netglobe {

// The program itself, without a window: the scene switches, the view, the
// status feed, the reference directories, the friends, the peak and the
// pointer. Each event of the program is one call; each returns what the
// window has to do. Everything runs on the window's thread; only the
// download, which the window runs elsewhere, is not in here.
class Session {
 public:
  // Seconds of the minute on the local clock, for the startup's duration.
  using Clock = std::function<int()>;

  Session(std::optional<FeedSource> source, const ProgramFolders& folders,
          HistoryRetention history = HistoryRetention::hours(kDefaultHistoryHours), Clock clock = {});

  // Startup, run once when the window first shows; it goes on through
  // next() and downloaded() until an Effects says startupfinished.
  Effects startup();
  // The next steps of a running sequence (after Effects::more).
  Effects next();
  // The globe image was loaded, or why not.
  Effects textureloaded(bool ok, const std::string& reason);
  // The answer of the download that an Effects asked for.
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

  // The details panel: closed by its button or Esc; a click on one of its
  // lines that names a pilot flies there and shows its flight.
  Effects closedetails();
  Effects choosedetailsline(std::size_t line);
  bool detailsopen() const { return details_.isopen(); }

  // The aerodromes of the inbound and outbound lists for this run, in place
  // of those of home.txt and the built-in ones.
  void sethomeairports(std::vector<std::string> codes);

  Effects tick(TimerId timer);
  // Stops the timers and writes the peak; once.
  Effects shutdown();

  const SceneState& scene() const { return scene_; }
  const ViewState& view() const { return view_; }
  const FeedState& feed() const { return feed_; }
  const std::string& startuplog() const { return log_; }
  const std::string& globeimagefile() const { return files_.globeimage; }
  const std::string& historyfolder() const { return history_.folder(); }
  // The kept refresh on screen (oldest first), or nothing when live.
  std::optional<std::size_t> replaying() const;
  std::size_t keptrefreshes() const { return history_.size(); }
  bool started() const { return started_; }
  // A download or the steps after it are under way.
  bool refreshing() const { return refreshing_; }
  // The pilot the view follows from refresh to refresh.
  const std::optional<FollowedPilot>& following() const { return following_; }

 private:
  struct Step {
    enum Kind {
      Log,           // a startup log line; events are handled after it
      Gl,            // GL work of the window
      StaticLayer,   // graticule, coastlines or FIR outlines
      Render,
      Download,      // the status download; the sequence waits for its answer
      Keep,          // the fresh answer into the history store; events are handled after it
      SideList,      // one side-list routine; events are handled after it
      Index,         // the client search index of the copy about to be shown
      ShowNewLists,  // the traffic is now drawn from the fresh parse
      Traffic,
      Trails,        // the trails layer, when trails are on
      FinishStartup,
      FinishRefresh,
      FinishShow,    // a kept refresh, or the live one again, is on screen
    } kind;
    const char* text = nullptr;  // Log
    GlWork gl = GlWork::None;
    int list = 0;                // StaticLayer: list number; SideList: routine 1 to 5
    TrafficLayer layer = TrafficLayer::Aircraft;
    double size = 0;
  };

  Effects runsteps();
  void run(const Step& step, Effects& out);
  void queueaftertheanswer();
  void queueshow(Step::Kind finish);
  void clearshowsteps();
  void endrebuild(Effects& out);
  void keepanswer(Effects& out);
  Effects replaykey(int code);
  Effects showkept(std::size_t index);
  Effects golive();
  std::string livetitle() const;
  void addtrails(Effects& out);
  LineReader showncopy() const;
  const StatusLists& sourcelists() const { return replayat_ ? replaylists_ : feed_.lists; }
  void sidelist(int routine, Effects& out);
  void logline(const std::string& line, Effects& out);
  void addlayer(Layer layer, Effects& out);
  void addkeyaction(const KeyAction& action, Effects& out);
  void refreshreferences(Effects& out);
  void say(const std::string& source, const std::string& reason, Effects& out);
  TrafficSources sources() const;
  void pilotlabelsnow(int mode, Effects& out);
  Effects showsearch(std::string footer) const;
  Effects flyto(const ClientEntry& client);
  void arrived(Effects& out);
  void followafterrefresh(Effects& out);
  std::string summaryof(const ClientEntry& client) const;
  void stopfollowing();
  void openpilotdetails(const std::string& callsign, const std::string& memberid, Effects& out);
  void openaerodromedetails(const std::string& code, Effects& out);
  void showdetails(Effects& out, bool readkept = false);
  void clickat(Effects& out);
  std::int64_t trailendms() const;
  HomeRegion homeregion() const;

  ReferenceFiles files_;
  RefDirectories refs_;
  FriendsFile friends_;
  HomeFile home_;
  std::optional<std::vector<std::string>> homeairports_;  // --home
  PeakFile peak_;
  SaidOnce said_;  // failures that last are said once, not at every refresh
  Clock clock_;

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
  std::optional<AerodromeName> airportmatch_;  // the aerodrome whose code was searched for
  bool flyingtoaerodrome_ = false;
  std::string log_;               // the startup log, UTF-8
  ClientIndex index_;             // every client of the stored copy, for the search
  std::array<std::vector<RowClient>, 6> rowclients_;  // whom each side-list row names
  ClientSearch search_;
  bool searchopen_ = false;
  std::optional<ClientEntry> flyingto_;      // a flight to a client under way
  std::optional<FollowedPilot> following_;
  bool globeimage_ = false;

  // History: every good answer kept; a kept refresh shown in place of the
  // live one while replaying.
  HistoryStore history_;
  std::uint64_t livekept_ = 0;  // serial of the live refresh in the store; 0 none
  // The kept refresh on screen, by serial: keeping a live refresh may drop
  // the oldest ones and move every index.
  std::optional<std::uint64_t> replayat_;
  std::int64_t replayreceiptms_ = 0;
  std::string replaytext_;
  StatusLists replaylists_;
  std::string replaytitle_;
  PositionFrames frames_;  // decoded positions for the trails

  std::deque<Step> steps_;
  bool rebuilding_ = false;   // a refresh's traffic is being rebuilt layer by layer
  bool pickwaiting_ = false;  // a pick came meanwhile: run it again at the end
  std::pair<float, float> lastpick_{0, 0};
  bool waiting_ = false;  // for the download's answer
  int startsec_ = 0;
  bool startupbegun_ = false;
  bool started_ = false;
  bool refreshing_ = false;
  bool shutdown_ = false;
};

}  // namespace netglobe
