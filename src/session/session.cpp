#include "session/session.h"

#include <ctime>
#include <utility>

#include "layers/static_layers.h"
#include "lists/pick_decode.h"
#include "lists/side_lists.h"
#include "scene/flight.h"
#include "scene/start_zoom.h"
#include "session/startup_log.h"

namespace netglobe {
namespace {

int localsecond() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_sec;
}

// Effects of two calls in one: the later one's texts win, lists add up.
void append(Effects& into, Effects&& from) {
  if (from.logtext) into.logtext = std::move(from.logtext);
  if (from.title) into.title = std::move(from.title);
  if (from.gl != GlWork::None) into.gl = from.gl;
  for (Layer& layer : from.layers) into.layers.push_back(std::move(layer));
  for (SideListRows& rows : from.sidelists) into.sidelists.push_back(std::move(rows));
  into.listshow.insert(into.listshow.end(), from.listshow.begin(), from.listshow.end());
  into.timers.insert(into.timers.end(), from.timers.begin(), from.timers.end());
  into.cornerform = into.cornerform || from.cornerform;
  if (from.pick) into.pick = std::move(from.pick);
  into.focusstatus = into.focusstatus || from.focusstatus;
  into.hidelog = into.hidelog || from.hidelog;
  for (std::string& note : from.notes) into.notes.push_back(std::move(note));
  if (from.pickat) into.pickat = from.pickat;
  into.render = into.render || from.render;
  into.startdownload = into.startdownload || from.startdownload;
  into.startupfinished = into.startupfinished || from.startupfinished;
  into.more = from.more;
}

}  // namespace

Session::Session(std::optional<ServerAddress> server, const ProgramFolders& folders, Clock clock)
    : files_(folders.files),
      refs_(folders.files),
      friends_(folders.folder),
      peak_(folders.folder),
      clock_(clock ? std::move(clock) : Clock(localsecond)) {
  feed_.server = std::move(server);
  feed_.folder = folders.folder;
  appendlogline(log_, "Enable OpenGL");
  feed_.lists.topcount = peak_.laden();
  shown_.topcount = feed_.lists.topcount;
}

// ---- sequences ------------------------------------------------------------

Effects Session::startup() {
  if (startupbegun_ || shutdown_) return {};
  startupbegun_ = true;
  startsec_ = clock_();
  const auto log = [](const char* text) { return Step{Step::Log, text}; };
  const auto gl = [](GlWork work) { return Step{Step::Gl, nullptr, work}; };
  const auto layer = [](int list) { return Step{Step::StaticLayer, nullptr, GlWork::None, list}; };
  const Step render{Step::Render};
  steps_ = {gl(GlWork::StartState),
            log("Load Texture"),    gl(GlWork::LoadTexture),
            log("Create Globe"),    gl(GlWork::BuildGlobes), render,
            log("10 Degrees"),      layer(kGradeList),       render,
            log("Show Coastlines"), layer(kCoastList),       render,
            log("Show Fir's"),      layer(kFirList),         render,
            log("Get Whazzup"),     Step{Step::Download}};
  return runsteps();
}

Effects Session::next() { return waiting_ ? Effects{} : runsteps(); }

Effects Session::runsteps() {
  Effects out;
  while (!steps_.empty() && !shutdown_) {
    const Step step = steps_.front();
    // Log lines begin a group of their own: what came before is shown first.
    const bool logs = step.kind == Step::Log || step.kind == Step::FinishStartup;
    if (logs && (out.logtext || !out.layers.empty() || out.render)) break;
    steps_.pop_front();
    run(step, out);
    if (step.kind == Step::Log || step.kind == Step::SideList || step.kind == Step::Download) break;
    // The window reports back on the image; its report comes before the
    // next steps.
    if (step.kind == Step::Gl && step.gl == GlWork::LoadTexture) break;
  }
  out.more = !steps_.empty() && !waiting_ && !shutdown_;
  return out;
}

void Session::run(const Step& step, Effects& out) {
  switch (step.kind) {
    case Step::Log: logline(step.text, out); break;
    case Step::Gl: out.gl = step.gl; break;
    case Step::StaticLayer:
      if (step.list == kGradeList) addlayer(drawgrade(), out);
      if (step.list == kCoastList) addlayer(drawcoast(files_.coastline), out);
      if (step.list == kFirList) addlayer(drawfirs(files_.fir1), out);
      break;
    case Step::Render: out.render = true; break;
    case Step::Download:
      refreshreferences(out);
      out.title = kLoadingTitle;
      out.startdownload = true;
      waiting_ = true;
      break;
    case Step::SideList: sidelist(step.list, out); break;
    case Step::ShowNewLists:
      // A fresh copy, not an assignment: strings keep their capacity when
      // assigned, and a huge line once parsed would stay held in its slot.
      shown_ = StatusLists(feed_.lists);
      break;
    case Step::Traffic: addlayer(buildtraffic(step.layer, step.size, sources()), out); break;
    case Step::FinishStartup: {
      out.timers.push_back({TimerId::Refresh, true});
      out.timers.push_back({TimerId::StartZoom, true});
      const int seconds = startupseconds(startsec_, clock_());
      logline(std::to_string(seconds) + " Seconds Startup", out);
      logline("Use Keys q,w,e,a,s", out);
      logline("Use Keys d,y,x,1,2", out);
      logline("Click here to Hide", out);
      out.hidelog = true;
      out.startupfinished = true;
      started_ = true;
      break;
    }
    case Step::FinishRefresh: refreshing_ = false; break;
  }
}

Effects Session::textureloaded(bool ok, const std::string& reason) {
  Effects out;
  globeimage_ = ok;
  if (!ok) {
    // Without the image the plain globe with its graticule still shows
    // everything else; say why instead of vanishing.
    logline(reason, out);
    out.notes.push_back(reason);
    scene_.globestyle = 2;
  }
  return out;
}

Effects Session::downloaded(FetchResult answer) {
  if (!waiting_ || shutdown_) return {};
  waiting_ = false;
  Effects out;
  out.title = takeanswer(feed_, std::move(answer));
  peak_.keep(feed_.lists.topcount);
  queueaftertheanswer();
  append(out, runsteps());
  return out;
}

void Session::queueaftertheanswer() {
  // The five side-list routines first, each shown before the next is made.
  for (int routine = 1; routine <= 5; ++routine) {
    steps_.push_back(Step{Step::SideList, nullptr, GlWork::None, routine});
  }
  steps_.push_back(Step{Step::ShowNewLists});
  const auto plan = started_ ? refreshplan() : startupplan();
  bool group = false;
  for (const PlannedLayer& planned : plan) {
    if (planned.logline) {
      if (group) steps_.push_back(Step{Step::Render});
      steps_.push_back(Step{Step::Log, planned.logline});
      group = true;
    }
    Step build{Step::Traffic};
    build.layer = planned.layer;
    build.size = planned.size;
    steps_.push_back(build);
  }
  steps_.push_back(Step{Step::Render});
  steps_.push_back(Step{started_ ? Step::FinishRefresh : Step::FinishStartup});
}

void Session::sidelist(int routine, Effects& out) {
  const std::string path = statusfilepath(feed_.folder);
  const auto fill = [&](int box, SideList list, const std::string& source) {
    say(source, list.failure, out);
    out.sidelists.push_back({box, std::move(list.rows)});
  };
  switch (routine) {
    case 1: {
      ObsLists obs = getobs(path);
      fill(1, std::move(obs.listbox1), "getobs");
      fill(2, std::move(obs.listbox2), "getobs");
      break;
    }
    case 2: fill(3, getfriends(path, friends_.ids()), "getfriends"); break;
    case 3: fill(4, getedbb(path), "getedbb"); break;
    case 4: fill(5, getinbound(feed_.lists), "getinbound"); break;
    case 5: fill(6, getoutbound(feed_.lists), "getoutbound"); break;
  }
}

// ---- input ----------------------------------------------------------------

Effects Session::key(int code) {
  Effects out;
  if (shutdown_) return out;
  addkeyaction(keyaction(code, scene_, view_, globeimage_), out);
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
  mousedown(pointer_, button, x, y);
  return out;
}

Effects Session::release(int button) {
  mouseup(pointer_, button);
  return {};
}

Effects Session::move(int buttons, float x, float y) {
  Effects out;
  out.render = mousemove(view_, pointer_, buttons, x, y);
  out.pickat = std::make_pair(x, y);
  return out;
}

Effects Session::wheel(float notches, float x, float y) {
  Effects out;
  if (notches == 0.0f) return out;
  wheelzoom(view_, notches);
  out.render = true;
  out.pickat = std::make_pair(x, y);
  return out;
}

Effects Session::picked(int hits, std::span<const std::uint32_t> selbuf) {
  const PickOutcome outcome = decodehits(hits, selbuf, pickedname_, shown_);
  pickedname_ = outcome.pickedname;
  Effects out;
  out.pick = PickText{outcome.summary, outcome.listtext()};
  out.focusstatus = true;
  return out;
}

// ---- timers ---------------------------------------------------------------

Effects Session::tick(TimerId timer) {
  Effects out;
  if (shutdown_) return out;
  switch (timer) {
    case TimerId::Refresh:
      // One request at a time: a tick while a refresh is under way waits
      // for the next.
      if (refreshing_ || !started_) return out;
      refreshing_ = true;
      out.hidelog = true;
      steps_.push_back(Step{Step::Download});
      append(out, runsteps());
      return out;
    case TimerId::Flight:
      if (gohome(view_) == FlightStep::Arrived) {
        out.timers = {{TimerId::Flight, false}, {TimerId::LabelSwitch, true}};
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
  steps_.clear();
  waiting_ = false;
  for (TimerId timer : {TimerId::Refresh, TimerId::Flight, TimerId::StartZoom, TimerId::LabelSwitch}) {
    out.timers.push_back({timer, false});
  }
  peak_.speichern(feed_.lists.topcount);
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
  refs_.refresh();
  if (friends_.refresh()) {
    for (const std::string& note : friends_.notes()) say("friends.txt", note, out);
  }
}

void Session::say(const std::string& source, const std::string& reason, Effects& out) {
  if (said_.shouldsay(source, reason)) out.notes.push_back(reason);
}

TrafficSources Session::sources() const {
  return TrafficSources{shown_, refs_, friends_.ids(), statusfilepath(feed_.folder), scene_.actfirmode,
                        scene_.pilotlabelmode};
}

}  // namespace netglobe
