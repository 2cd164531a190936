#pragma once

#include <deque>
#include <functional>
#include <span>

#include "session/effects.h"
#include "session/traffic_plan.h"

namespace netglobe {

// One step of a sequence the window runs a stretch at a time.
struct Step {
  enum Kind {
    Log,           // a startup log line; events are handled after it
    Gl,            // GL work of the window
    StaticLayer,   // graticule, coastlines or FIR outlines
    Render,
    Download,      // the status download; the sequence waits for its answer
    SideList,      // one side-list routine; events are handled after it
    Index,         // the client search index of the copy about to be shown
    ShowNewLists,  // the traffic is now drawn from the fresh parse
    Traffic,
    Trails,        // the trails layer, when trails are on
    FinishStartup,
    FinishRefresh,
    FinishShow,    // a kept refresh, or the live one again, is on screen
    Filter,        // the traffic is now drawn through the filter as it stands
  } kind;
  const char* text = nullptr;  // Log
  GlWork gl = GlWork::None;
  int list = 0;                // StaticLayer: list number; SideList: routine 1 to 5
  TrafficLayer layer = TrafficLayer::Aircraft;
  double size = 0;
};

// The steps still to run and the state only they change: whether a refresh
// is under way, whether its download's answer is awaited, whether traffic is
// being rebuilt layer by layer, and whether the window has been asked for
// the next stretch. Nothing else sets these, so a refresh once begun always
// reaches its download and its end, and one call of next() is asked for at
// a time however many events arrive meanwhile.
class StepQueue {
 public:
  using Runner = std::function<void(const Step&, Effects&)>;

  // The startup's steps up to its download.
  void begin(std::deque<Step> steps);
  // A refresh tick: queues the download, unless a refresh is under way
  // (then false: that one's download is queued or running already).
  bool startrefresh(bool started);
  // The download's answer is in; false when none was awaited.
  bool answered();
  // The rest of a refresh whose answer is not shown (a replay is on screen).
  void finishunseen() { steps_.push_back(Step{Step::FinishRefresh}); }
  // The side lists, the index and the traffic of the copy to show, then finish.
  void queueshow(Step::Kind finish, std::span<const PlannedLayer> plan);
  // The traffic drawn again through a changed filter, as a refresh draws
  // it; nothing when a show still to come (or the startup's first answer)
  // will draw through the filter as it then stands.
  void queuefilter(std::span<const PlannedLayer> plan);
  // A step of replay replaces what is being shown; the show queued next
  // ends it. A refresh cut short that way has ended all the same; a download
  // queued behind the show still runs.
  void clearshow();
  // Runs the next stretch of steps through run; asks for next() in
  // Effects::more unless that was asked for already.
  Effects runstretch(const Runner& run);
  // The window called next(): the stretch it was asked for is running.
  void pumped() { pumpasked_ = false; }
  // Asks for next() when steps wait and nothing asked for it yet.
  void askmore(Effects& out);
  // Shutdown: nothing runs any more.
  void stop();

  bool refreshing() const { return refreshing_; }
  bool waiting() const { return waiting_; }
  bool rebuilding() const { return rebuilding_; }
  bool empty() const { return steps_.empty(); }
  bool pumpasked() const { return pumpasked_; }

 private:
  std::deque<Step> steps_;
  bool refreshing_ = false;  // from the tick to the end of its steps
  bool waiting_ = false;     // for the download's answer
  bool rebuilding_ = false;  // a shown copy's traffic is being rebuilt layer by layer
  bool pumpasked_ = false;   // an Effects asked for next() and it has not come
  bool started_ = false;     // startup finished: refreshes rebuild a layer a stretch
  bool stopped_ = false;
};

}  // namespace netglobe
