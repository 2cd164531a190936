#include "session/session.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <utility>

#include "layers/destination_line.h"
#include "layers/marker_ring.h"
#include "layers/static_layers.h"
#include "layers/trail_layer.h"
#include "feed/client_fields.h"
#include "feed/status_parser.h"
#include "history/update_time.h"
#include "lists/pick_decode.h"
#include "lists/side_lists.h"
#include "scene/flight.h"
#include "scene/pick_names.h"
#include "scene/start_zoom.h"
#include "session/startup_log.h"

namespace netglobe {
namespace {

std::int64_t nowms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

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
  if (from.summary) into.summary = std::move(from.summary);
  if (from.search) into.search = std::move(from.search);
  if (from.details) into.details = std::move(from.details);
  into.focusstatus = into.focusstatus || from.focusstatus;
  into.hidelog = into.hidelog || from.hidelog;
  for (std::string& note : from.notes) into.notes.push_back(std::move(note));
  if (from.pickat) into.pickat = from.pickat;
  into.render = into.render || from.render;
  into.startdownload = into.startdownload || from.startdownload;
  into.scanhistory = into.scanhistory || from.scanhistory;
  into.startupfinished = into.startupfinished || from.startupfinished;
  into.more = from.more;
}

}  // namespace

Session::Session(std::optional<FeedSource> source, const ProgramFolders& folders,
                 HistoryRetention history, Clock clock)
    : files_(folders.files),
      refs_(folders.files),
      friends_(folders.folder),
      home_(folders.folder),
      peak_(folders.folder),
      clock_(clock ? std::move(clock) : Clock(localsecond)),
      history_(netglobe::historyfolder(folders.folder), history) {
  feed_.source = std::move(source);
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
  // The kept refreshes of earlier runs are read beside the startup.
  Effects first;
  first.scanhistory = !history_.retention().off();
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
  append(first, runsteps());
  return first;
}

Effects Session::historyfound(HistoryIndex found) {
  Effects out;
  if (shutdown_) return out;
  for (std::string& line : history_.adopt(std::move(found), nowms())) out.notes.push_back(std::move(line));
  return out;
}

// Steps after a download are queued only when its answer is in, so a
// sequence queued meanwhile (a step of replay) goes on while it runs.
Effects Session::next() { return runsteps(); }

Effects Session::runsteps() {
  Effects out;
  while (!steps_.empty() && !shutdown_) {
    const Step step = steps_.front();
    // Log lines begin a group of their own: what came before is shown first.
    const bool logs = step.kind == Step::Log || step.kind == Step::FinishStartup;
    if (logs && (out.logtext || !out.layers.empty() || out.render)) break;
    steps_.pop_front();
    run(step, out);
    if (step.kind == Step::Log || step.kind == Step::SideList || step.kind == Step::Download ||
        step.kind == Step::Keep) {
      break;
    }
    // Each traffic layer of a refresh is a stretch of its own: the window
    // draws and answers between them.
    if (step.kind == Step::Traffic && rebuilding_) break;
    // The window reports back on the image; its report comes before the
    // next steps.
    if (step.kind == Step::Gl && step.gl == GlWork::LoadTexture) break;
  }
  out.more = !steps_.empty() && !shutdown_;
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
      // A replay keeps its title through the live refreshes beside it.
      out.title = replayat_ ? replaytitle_ : std::string(kLoadingTitle);
      out.startdownload = true;
      waiting_ = true;
      break;
    case Step::Keep: keepanswer(out); break;
    case Step::SideList: sidelist(step.list, out); break;
    case Step::Index: index_ = ClientIndex(showncopy()); break;
    case Step::ShowNewLists:
      // Until the last layer is rebuilt some are drawn from the lists
      // before: a pick waits for the end rather than name the wrong entry.
      rebuilding_ = started_;
      // A fresh copy, not an assignment: strings keep their capacity when
      // assigned, and a huge line once parsed would stay held in its slot.
      shown_ = StatusLists(sourcelists());
      if (!replayat_) followafterrefresh(out);
      if (details_.isopen()) showdetails(out, true);
      break;
    case Step::Trails: addtrails(out); break;
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
    case Step::FinishRefresh:
      refreshing_ = false;
      endrebuild(out);
      break;
    case Step::FinishShow: endrebuild(out); break;
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
  const std::string title = takeanswer(feed_, std::move(answer));
  peak_.keep(feed_.lists.topcount);
  // Keeping it packs and syncs a file: a stretch of its own, next, ahead of
  // any step of replay queued meanwhile.
  steps_.push_front(Step{Step::Keep});
  if (replayat_) {
    // Fetched, stored and kept, not shown: the replay stays on screen.
    steps_.push_back(Step{Step::FinishRefresh});
  } else {
    out.title = title;
    queueaftertheanswer();
  }
  out.more = true;
  return out;
}

void Session::queueaftertheanswer() { queueshow(started_ ? Step::FinishRefresh : Step::FinishStartup); }

void Session::queueshow(Step::Kind finish) {
  // The five side-list routines first, each shown before the next is made.
  for (int routine = 1; routine <= 5; ++routine) {
    steps_.push_back(Step{Step::SideList, nullptr, GlWork::None, routine});
  }
  // The search finds what the side lists and the traffic now show.
  steps_.push_back(Step{Step::Index});
  steps_.push_back(Step{Step::ShowNewLists});
  const auto plan = finish == Step::FinishStartup ? startupplan() : refreshplan();
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
  steps_.push_back(Step{Step::Trails});
  steps_.push_back(Step{Step::Render});
  steps_.push_back(Step{finish});
}

void Session::sidelist(int routine, Effects& out) {
  const auto fill = [&](int box, SideList list, const std::string& source) {
    say(source, list.failure, out);
    rowclients_[static_cast<std::size_t>(box - 1)] = std::move(list.clients);
    out.sidelists.push_back({box, std::move(list.rows)});
  };
  switch (routine) {
    case 1: {
      ObsLists obs = getobs(showncopy());
      fill(1, std::move(obs.listbox1), "getobs");
      fill(2, std::move(obs.listbox2), "getobs");
      break;
    }
    case 2: fill(3, getfriends(showncopy(), friends_.ids()), "getfriends"); break;
    case 3: fill(4, getedbb(showncopy(), homeregion().box), "getedbb"); break;
    case 4: fill(5, getinbound(sourcelists(), homeregion()), "getinbound"); break;
    case 5: fill(6, getoutbound(sourcelists(), homeregion()), "getoutbound"); break;
  }
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
  if (!(view_ == before)) stopfollowing();
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
  if (flyingto_) stopfollowing();
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
  if (out.render) stopfollowing();
  out.pickat = lastpick_ = std::make_pair(x, y);
  return out;
}

Effects Session::wheel(float notches, float x, float y) {
  Effects out;
  if (notches == 0.0f) return out;
  wheelzoom(view_, notches);
  stopfollowing();
  out.render = true;
  out.pickat = lastpick_ = std::make_pair(x, y);
  return out;
}

void Session::endrebuild(Effects& out) {
  rebuilding_ = false;
  if (pickwaiting_) out.pickat = lastpick_;
  pickwaiting_ = false;
}

Effects Session::picked(int hits, std::span<const std::uint32_t> selbuf) {
  if (rebuilding_) {
    pickwaiting_ = true;
    return {};
  }
  const PickOutcome outcome = decodehits(hits, selbuf, pickedname_, shown_);
  pickedname_ = outcome.pickedname;
  underpointer_ = hits != 0 ? outcome.pickedname : 0;
  Effects out;
  out.pick = PickText{outcome.summary, outcome.listtext()};
  // Typing goes on in an open search field.
  out.focusstatus = !searchopen_;
  return out;
}

// ---- finding clients ------------------------------------------------------

Effects Session::opensearch() {
  searchopen_ = true;
  Effects out;
  out.search = SearchView{true, {}, {}};
  return out;
}

Effects Session::closesearch() {
  searchopen_ = false;
  Effects out;
  out.search = SearchView{};
  out.focusstatus = true;
  return out;
}

Effects Session::searchfor(const std::string& text) {
  search_ = searchclients(index_, text);
  // A whole aerodrome code of the directory comes first.
  airportmatch_.reset();
  std::string_view code = text;
  while (!code.empty() && code.front() == ' ') code.remove_prefix(1);
  while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
  if (const std::string icao = homecode(code); !icao.empty()) {
    AerodromeName found = aerodromename(icao, refs_.airports);
    if (found.place) airportmatch_ = std::move(found);
  }
  std::string footer = searchfooter(search_);
  if (airportmatch_ && search_.total == 0) footer.clear();
  return showsearch(std::move(footer));
}

Effects Session::showsearch(std::string footer) const {
  Effects out;
  SearchView view{true, {}, std::move(footer)};
  if (airportmatch_) view.rows.push_back(airportmatch_->code + " APT> " + airportmatch_->name);
  for (const ClientMatch& match : search_.matches) view.rows.push_back(searchrow(match.client));
  out.search = std::move(view);
  return out;
}

Effects Session::choosematch(std::size_t match) {
  if (airportmatch_) {
    if (match == 0) {
      const AerodromeName aerodrome = *airportmatch_;
      Effects out = flyto(ClientEntry{aerodrome.code, "", aerodrome.name, ClientKind::Other, aerodrome.place});
      flyingtoaerodrome_ = true;
      openaerodromedetails(aerodrome.code, out);
      return out;
    }
    --match;
  }
  if (match >= search_.matches.size()) return {};
  const ClientEntry& client = search_.matches[match].client;
  // Without a position the field says so, stays open, and the view stays.
  if (!client.place) return showsearch(client.callsign + " has no position");
  Effects out = flyto(ClientEntry(client));
  if (client.kind == ClientKind::Pilot) openpilotdetails(client.callsign, client.memberid, out);
  return out;
}

Effects Session::choosesidelistrow(int box, std::size_t row) {
  if (box < 1 || box > int(rowclients_.size())) return {};
  const std::vector<RowClient>& clients = rowclients_[std::size_t(box - 1)];
  if (row >= clients.size()) return {};
  const ClientEntry* client = index_.find(clients[row].callsign, clients[row].memberid);
  Effects out;
  if (!client) {
    out.summary = clients[row].callsign + " not found";
  } else if (!client->place) {
    out.summary = client->callsign + " has no position";
  } else {
    out = flyto(ClientEntry(*client));
    // An inbound or outbound row is about its home aerodrome; a friend's
    // row of a pilot about the flight.
    const std::string* line = findpilotline(shown_, client->callsign, client->memberid);
    if ((box == 5 || box == 6) && line) {
      const ClientFields f(*line, kDestination);
      openaerodromedetails(std::string(f(box == 5 ? kDestination : 12)), out);
    } else if (client->kind == ClientKind::Pilot) {
      openpilotdetails(client->callsign, client->memberid, out);
    }
  }
  return out;
}

Effects Session::flyto(const ClientEntry& client) {
  stopfollowing();
  flyingtoaerodrome_ = false;
  view_ = flighttoclient(view_, client.place->lat, client.place->lon);
  flyingto_ = client;
  searchopen_ = false;
  Effects out;
  out.search = SearchView{};
  out.timers = {{TimerId::Flight, true}};
  out.focusstatus = true;
  out.render = true;
  return out;
}

void Session::arrived(Effects& out) {
  const ClientEntry client = std::move(*flyingto_);
  flyingto_.reset();
  addlayer(drawmarker(client.place->lat, client.place->lon), out);
  scene_.marker = 1;
  out.timers.push_back({TimerId::Marker, true});
  out.render = true;
  out.summary = flyingtoaerodrome_ ? client.callsign + " " + client.name : summaryof(client);
  flyingtoaerodrome_ = false;
  if (client.kind == ClientKind::Pilot) {
    following_ = followedpilot(client);
    *out.summary += " (followed)";
  }
}

void Session::followafterrefresh(Effects& out) {
  if (!following_) return;
  const FollowStep step = follow(index_, *following_);
  if (step.state == FollowState::Gone) {
    out.summary = following_->callsign + " is gone; no longer followed";
    following_.reset();
    return;
  }
  if (step.state == FollowState::Found) centreon(view_, step.place.lat, step.place.lon);
  if (const ClientEntry* client = index_.find(following_->callsign, following_->memberid)) {
    out.summary = summaryof(*client) + " (followed)";
  }
  out.render = true;
}

std::string Session::summaryof(const ClientEntry& client) const {
  // The summary a pick over the client gives, when it is drawn.
  const std::string key = client.callsign + ":" + client.memberid + ":";
  const auto named = [&](const std::vector<std::string>& lines, int count, PickKind kind) -> std::uint32_t {
    for (int i = 1; i <= count && i < int(lines.size()); ++i) {
      if (lines[std::size_t(i)].starts_with(key)) return pickname(kind, i);
    }
    return 0;
  };
  std::uint32_t name = named(shown_.pillines, shown_.pilcount, PickKind::Aircraft);
  if (!name) name = named(shown_.ctrlines, shown_.ctrcount, PickKind::ActiveFir);
  if (!name) name = named(shown_.applines, shown_.appcount, PickKind::Approach);
  if (!name) name = named(shown_.twrlines, shown_.twrcount, PickKind::Tower);
  if (!name) return client.callsign + " not drawn";
  const std::uint32_t hit[] = {1, 0, 0, name};
  return decodehits(1, hit, 0, shown_).summary;
}

void Session::stopfollowing() {
  following_.reset();
  flyingto_.reset();
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
        if (flyingto_) arrived(out);
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
  // A fresh answer not yet kept is kept before the end.
  for (const Step& step : steps_) {
    if (step.kind == Step::Keep) keepanswer(out);
  }
  steps_.clear();
  waiting_ = false;
  for (TimerId timer :
       {TimerId::Refresh, TimerId::Flight, TimerId::StartZoom, TimerId::LabelSwitch, TimerId::Marker}) {
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
  if (home_.refresh()) {
    for (const std::string& note : home_.notes()) say(kHomeFileName, note, out);
  }
}

void Session::say(const std::string& source, const std::string& reason, Effects& out) {
  if (said_.shouldsay(source, reason)) out.notes.push_back(reason);
}

TrafficSources Session::sources() const {
  return TrafficSources{shown_,
                        refs_,
                        friends_.ids(),
                        statusfilepath(feed_.folder),
                        scene_.actfirmode,
                        scene_.pilotlabelmode,
                        replayat_ ? &replaytext_ : nullptr};
}

LineReader Session::showncopy() const {
  return replayat_ ? LineReader::fromtext(replaytext_) : LineReader(statusfilepath(feed_.folder));
}

// ---- history --------------------------------------------------------------

void Session::keepanswer(Effects& out) {
  // Only a good answer is kept: a failed one left the copy as it was.
  if (feed_.feedtext.empty()) return;
  const KeepResult kept = history_.keep(feed_.feedtext, nowms());
  if (kept.outcome == KeepOutcome::Kept) livekept_ = kept.serial;
  if ((kept.outcome == KeepOutcome::SameUpdate || kept.outcome == KeepOutcome::SameText) &&
      history_.size() > 0) {
    livekept_ = history_.at(history_.size() - 1).serial;
  }
  if (kept.outcome == KeepOutcome::Failed && kept.tell) {
    out.notes.push_back("history not kept: " + kept.failure);
  }
}

std::optional<std::size_t> Session::replaying() const {
  if (!replayat_) return std::nullopt;
  for (std::size_t i = history_.size(); i-- > 0;) {
    if (history_.at(i).serial == *replayat_) return i;
  }
  return std::nullopt;
}

Effects Session::replaykey(int code) {
  Effects out;
  if (code == 't') {
    scene_.trails = -scene_.trails;
    addtrails(out);
    out.render = true;
    return out;
  }
  // Stepping waits for the startup: until then nothing is on screen to leave.
  if (!started_) return out;
  if (code == 'l') return replayat_ ? golive() : out;
  const std::optional<std::size_t> at = replaying();
  if (code == '.') {
    if (!replayat_) return out;
    // Past the newest kept refresh is the live one.
    if (!at || *at + 1 >= history_.size()) return golive();
    return showkept(*at + 1);
  }
  // ",": one kept refresh back; the oldest stays.
  const std::size_t kept = history_.size();
  if (kept == 0) {
    out.summary = "no kept refreshes to replay";
    return out;
  }
  std::size_t to = 0;
  if (replayat_) {
    // A replayed refresh dropped meanwhile was older than any kept now.
    to = !at || *at == 0 ? 0 : *at - 1;
  } else {
    // From live, the newest kept refresh is what is on screen already
    // when it is the live one.
    to = kept - 1;
    if (history_.at(to).serial == livekept_ && to > 0) --to;
  }
  return showkept(to);
}

Effects Session::showkept(std::size_t index) {
  Effects out;
  HistoryText kept = history_.read(index);
  if (!kept.ok) {
    out.summary = "kept refresh unreadable: " + kept.failure;
    return out;
  }
  clearshowsteps();
  replayat_ = history_.at(index).serial;
  replayreceiptms_ = history_.at(index).receiptms;
  replaytext_ = std::move(kept.text);
  // The kept refresh's own counts; the day's peak only shows, never rises.
  replaylists_.topcount = feed_.lists.topcount;
  what2array(LineReader::fromtext(replaytext_), replaylists_);
  replaylists_.topcount = feed_.lists.topcount;
  std::string when(statusupdatetime(replaytext_));
  if (when.empty()) {
    const std::time_t receipt = static_cast<std::time_t>(history_.at(index).receiptms / 1000);
    std::tm local{};
    localtime_r(&receipt, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    when = text;
  }
  replaytitle_ = "REPLAY " + when + countstitle(replaylists_);
  out.title = replaytitle_;
  queueshow(Step::FinishShow);
  append(out, runsteps());
  return out;
}

Effects Session::golive() {
  clearshowsteps();
  replayat_.reset();
  replaytext_.clear();
  replaytext_.shrink_to_fit();
  replaylists_ = StatusLists();
  history_.dropunpacked();
  Effects out;
  out.title = livetitle();
  queueshow(Step::FinishShow);
  append(out, runsteps());
  return out;
}

void Session::clearshowsteps() {
  // A step of replay replaces one still being shown; a refresh cut short
  // that way has ended all the same, and its answer is still kept.
  std::deque<Step> keep;
  for (const Step& step : steps_) {
    if (step.kind == Step::FinishRefresh) refreshing_ = false;
    if (step.kind == Step::Keep) keep.push_back(step);
  }
  steps_ = std::move(keep);
  rebuilding_ = false;
}

std::string Session::livetitle() const {
  std::string title = countstitle(feed_.lists);
  if (!feed_.lastfailure.empty()) title += " (update failed: " + feed_.lastfailure + ")";
  return title;
}

void Session::addtrails(Effects& out) {
  if (scene_.trails != 1) return;
  const std::int64_t endms = trailendms();
  frames_.update(history_, endms, kTrailWindowMs);
  addlayer(drawtrails(frames_.frames(), shown_, friends_.ids(), endms), out);
}

}  // namespace netglobe

namespace netglobe {

std::int64_t Session::trailendms() const {
  // The trails end at the refresh on screen: the replayed one, or the newest.
  if (replayat_) return replayreceiptms_;
  if (history_.size() > 0) return history_.at(history_.size() - 1).receiptms;
  return nowms();
}

// ---- details panel ----------------------------------------------------------

void Session::sethomeairports(std::vector<std::string> codes) { homeairports_ = std::move(codes); }

HomeRegion Session::homeregion() const {
  HomeRegion region = home_.region();
  if (homeairports_) region.airports = *homeairports_;
  return region;
}

void Session::clickat(Effects& out) {
  const PickTarget target = decodepick(underpointer_);
  const auto lineof = [&](const std::vector<std::string>& lines, int count) -> const std::string* {
    if (target.index < 1 || target.index > count || target.index >= int(lines.size())) return nullptr;
    return &lines[std::size_t(target.index)];
  };
  const std::string* line = nullptr;
  switch (target.kind) {
    case PickKind::Aircraft:
      if ((line = lineof(shown_.pillines, shown_.pilcount))) {
        const ClientFields f(*line, kMemberId);
        openpilotdetails(std::string(f(kCallsign)), std::string(f(kMemberId)), out);
      }
      break;
    case PickKind::Approach:
    case PickKind::Tower:
      line = target.kind == PickKind::Approach ? lineof(shown_.applines, shown_.appcount)
                                               : lineof(shown_.twrlines, shown_.twrcount);
      if (line) openaerodromedetails(line->substr(0, 4), out);
      break;
    case PickKind::ActiveFir:
    case PickKind::None: break;
  }
}

void Session::openpilotdetails(const std::string& callsign, const std::string& memberid, Effects& out) {
  details_.openpilot(callsign, memberid);
  showdetails(out);
}

void Session::openaerodromedetails(const std::string& code, Effects& out) {
  details_.openaerodrome(code);
  showdetails(out);
}

void Session::showdetails(Effects& out, bool readkept) {
  DetailsPanel::Shown shown = details_.show(shown_, refs_.airports);
  const std::int64_t endms = trailendms();
  // The pilot's trail takes the points of the trails. Reading kept
  // refreshes back takes far longer than opening the panel may: a click
  // draws what the trails hold already, and the refreshes and replay steps
  // after it, which rebuild every layer anyway, bring the trail up to date.
  if (shown.flight && readkept && !history_.retention().off()) frames_.update(history_, endms, kTrailWindowMs);
  addlayer(drawpanelflight(shown.flight, frames_.frames(), endms), out);
  scene_.details = shown.flight ? 1 : -1;
  out.details = std::move(shown.view);
  out.render = true;
}

Effects Session::closedetails() {
  Effects out;
  details_.close();
  scene_.details = -1;
  addlayer(drawpanelflight(std::nullopt, {}, 0), out);
  out.details = DetailsView{};
  out.focusstatus = !searchopen_;
  out.render = true;
  return out;
}

Effects Session::choosedetailsline(std::size_t line) {
  const std::optional<RowClient> pilot = details_.target(line);
  if (!pilot) return {};
  Effects out;
  const ClientEntry* client = index_.find(pilot->callsign, pilot->memberid);
  if (client && client->place) {
    out = flyto(ClientEntry(*client));
  } else {
    out.summary = pilot->callsign + (client ? " has no position" : " not found");
  }
  openpilotdetails(pilot->callsign, pilot->memberid, out);
  return out;
}

}  // namespace netglobe
