#include "session/session.h"

#include <cmath>
#include <utility>

#include "base/local_time.h"
#include "feed/status_copy.h"
#include "lists/pick_decode.h"
#include "scene/flight.h"
#include "scene/start_zoom.h"
#include "session/effects_merge.h"
#include "session/startup_log.h"

namespace netglobe {
namespace {

constexpr TimerId kTimers[] = {TimerId::Refresh, TimerId::Flight, TimerId::StartZoom, TimerId::LabelSwitch,
                               TimerId::Marker};

}  // namespace

Session::Session(std::optional<FeedSource> source, const ProgramFolders& folders,
                 HistoryRetention history, SessionSetup setup)
    : setup_(std::move(setup)),
      files_(folders.files),
      refs_(folders.files),
      friends_(folders.folder),
      home_(folders.folder),
      peak_(folders.folder),
      filter_(folders.folder),
      replay_(netglobe::historyfolder(folders.folder), history, setup_.keep) {
  if (!setup_.nowms) setup_.nowms = systemms;
  feed_.source = std::move(source);
  feed_.folder = folders.folder;
  // What a run killed in the middle of writing left behind.
  removestaletemporaries(statusfilepath(feed_.folder));
  removestaletemporaries(peakfilepath(feed_.folder));
  appendlogline(log_, "Enable OpenGL");
  feed_.lists.topcount = peak_.laden(localclock(nowms()));
  filterdamage_ = filter_.load();
  finding_.setairports(&refs_.airports);
  shown_.topcount = feed_.lists.topcount;
}

// ---- input ----------------------------------------------------------------

Effects Session::key(int code) {
  Effects out;
  if (shutdown_) return out;
  // The key table has no use for "/": it opens the search.
  if (code == '/') return opensearch();
  // Esc closes an open details panel, and does nothing else then.
  if (code == 27 && details_.isopen()) return closedetails();
  if (code == ',' || code == '.' || code == 'l' || code == 't') return replaykey(code);
  const ViewState before = view_;
  addkeyaction(keyaction(code, scene_, view_, globeimage_), out);
  if (!(view_ == before)) finding_.stopfollowing();
  return out;
}

void Session::addkeyaction(const KeyAction& action, Effects& out) {
  scene_ = action.scene;
  view_ = action.view;
  if (action.startflight) {
    out.timers.push_back({TimerId::Flight, true});
    out.focusstatus = true;
  }
  out.cornerform = action.cornerform;
  if (action.startzoom) out.timers.push_back({TimerId::StartZoom, true});
  for (const Rebuild& rebuild : action.rebuilds) addlayer(buildtraffic(rebuild, sources()), out);
  out.listshow = action.lists;
  out.render = action.render;
}

Effects Session::press(int button, float x, float y) {
  Effects out;
  // A press stops the flight and the start zoom where they are.
  out.timers = {{TimerId::Flight, false}, {TimerId::StartZoom, false}};
  // A flight to a client stopped on its way leads nowhere to follow.
  if (finding_.flying()) finding_.stopfollowing();
  mousedown(pointer_, button, x, y);
  if (button == kLeftButton) pressat_ = lastpick_ = std::make_pair(x, y);
  return out;
}

Effects Session::release(int button) {
  Effects out;
  // A press and release on the same spot is a click: it opens the details
  // of what lies under the pointer.
  const bool click = button == kLeftButton && pointer_.leftdrag &&
                     std::abs(lastpick_.first - pressat_.first) <= 2 &&
                     std::abs(lastpick_.second - pressat_.second) <= 2;
  mouseup(pointer_, button);
  if (click) clickat(out);
  return out;
}

Effects Session::move(int buttons, float x, float y) {
  Effects out;
  out.render = mousemove(view_, pointer_, buttons, x, y);
  if (out.render) finding_.stopfollowing();
  out.pickat = lastpick_ = std::make_pair(x, y);
  return out;
}

Effects Session::wheel(float notches, float x, float y) {
  Effects out;
  if (notches == 0.0f) return out;
  wheelzoom(view_, notches);
  finding_.stopfollowing();
  out.render = true;
  out.pickat = lastpick_ = std::make_pair(x, y);
  return out;
}

void Session::endrebuild(Effects& out) {
  if (pickwaiting_) out.pickat = lastpick_;
  pickwaiting_ = false;
}

Effects Session::picked(int hits, std::span<const std::uint32_t> selbuf) {
  if (steps_.rebuilding()) {
    pickwaiting_ = true;
    return {};
  }
  const PickOutcome outcome = decodehits(hits, selbuf, pickedname_, shown_);
  pickedname_ = outcome.pickedname;
  underpointer_ = hits != 0 ? outcome.pickedname : 0;
  Effects out;
  out.pick = PickText{outcome.summary, outcome.listtext()};
  // Typing goes on in an open search field.
  out.focusstatus = !finding_.searchopen();
  return out;
}

// ---- finding clients ------------------------------------------------------

Effects Session::opensearch() {
  Effects out = finding_.opensearch();
  if (filter_.on()) {
    out = filteredsearch();
    out.search->text = filter_.query().text;
  }
  return out;
}

Effects Session::closesearch() {
  Effects out = finding_.closesearch();
  // Esc in the field ends the filter too; its steps ask for more last.
  if (filter_.on()) append(out, setfilter(""));
  return out;
}

Effects Session::searchfor(const std::string& text) {
  if (filter_.on()) return setfilter(text);
  return finding_.searchfor(text);
}
Effects Session::choosematch(std::size_t match) {
  Effects out = finding_.choosematch(match, view_);
  opendetails(finding_.opened(unfiltered_), out);
  return out;
}

Effects Session::choosesidelistrow(int box, std::size_t row) {
  Effects out = finding_.choosesidelistrow(box, row, view_);
  opendetails(finding_.opened(unfiltered_), out);
  return out;
}

// ---- timers ---------------------------------------------------------------

std::span<const TimerId> Session::timers() { return kTimers; }

int Session::periodms(TimerId timer) const {
  switch (timer) {
    case TimerId::Refresh: return setup_.refreshseconds * 1000;
    case TimerId::Flight: return kFlightTickMs;
    case TimerId::StartZoom: return 5;
    case TimerId::LabelSwitch: return 1000;
    case TimerId::Marker: return 4000;
  }
  return 1000;
}

Effects Session::tick(TimerId timer) {
  Effects out;
  if (shutdown_) return out;
  switch (timer) {
    case TimerId::Refresh:
      // One request at a time: a tick while a refresh is under way waits
      // for the next.
      if (!steps_.startrefresh(started_)) return out;
      out.hidelog = true;
      append(out, runsteps());
      return out;
    case TimerId::Flight:
      if (gohome(view_) == FlightStep::Arrived) {
        out.timers = {{TimerId::Flight, false}, {TimerId::LabelSwitch, true}};
        if (finding_.flying()) {
          finding_.arrived(out, shown_);
          scene_.marker = 1;
        }
      } else {
        out.render = true;
      }
      return out;
    case TimerId::StartZoom:
      if (startzoomtick(view_.viewdist)) {
        out.timers = {{TimerId::StartZoom, false}, {TimerId::LabelSwitch, true}};
        pilotlabelsnow(4, out);
      }
      out.render = true;
      return out;
    case TimerId::LabelSwitch:
      out.timers = {{TimerId::LabelSwitch, false}};
      pilotlabelsnow(5, out);
      out.render = true;
      return out;
    case TimerId::Marker:
      out.timers = {{TimerId::Marker, false}};
      scene_.marker = -1;
      out.render = true;
      return out;
  }
  return out;
}

void Session::pilotlabelsnow(int mode, Effects& out) {
  scene_.pilotlabelmode = mode;
  addlayer(buildtraffic(TrafficLayer::PilotLabels, 0, sources()), out);
  scene_.pilotlabels = 1;
}

Effects Session::shutdown() {
  Effects out;
  if (shutdown_) return out;
  shutdown_ = true;
  steps_.stop();
  for (TimerId timer : kTimers) out.timers.push_back({timer, false});
  peak_.speichern(feed_.lists.topcount, localclock(nowms()));
  return out;
}

// ---- helpers --------------------------------------------------------------

void Session::logline(const std::string& line, Effects& out) {
  appendlogline(log_, line);
  out.logtext = log_;
}

void Session::addlayer(Layer layer, Effects& out) {
  say("list " + std::to_string(layer.list), layer.failure, out);
  out.layers.push_back(std::move(layer));
}

void Session::refreshreferences(Effects& out) {
  // Traffic built before may stand on files about to change.
  prebuilt_ = PrebuiltTraffic();
  refs_.refresh();
  if (friends_.refresh()) {
    for (const std::string& note : friends_.notes()) say("friends.txt", note, out);
  }
  if (home_.refresh()) {
    for (const std::string& note : home_.notes()) say(kHomeFileName, note, out);
  }
}

void Session::say(const std::string& source, const std::string& reason, Effects& out) {
  if (said_.shouldsay(source, reason)) out.notes.push_back(reason);
}

TrafficSwitches Session::trafficswitches() const {
  return TrafficSwitches{scene_.actfirmode, scene_.pilotlabelmode, friends_.ids().ids()};
}

TrafficSources Session::sources() const {
  return TrafficSources{shown_,
                        refs_,
                        friends_.ids(),
                        statusfilepath(feed_.folder),
                        scene_.actfirmode,
                        scene_.pilotlabelmode,
                        filter_.on() ? &filter_.copytext() : showntext_ ? &*showntext_ : nullptr};
}

}  // namespace netglobe
