// The session's sequences: the startup, the refresh after each answer, and
// the shows of a kept refresh or of the live one again, run a stretch at a
// time through the step queue.
#include <utility>

#include "base/local_time.h"
#include "layers/static_layers.h"
#include "lists/side_lists.h"
#include "session/effects_merge.h"
#include "session/session.h"
#include "session/startup_log.h"

namespace netglobe {
// ---- sequences ------------------------------------------------------------

Effects Session::startup() {
  if (startupbegun_ || shutdown_) return {};
  startupbegun_ = true;
  startsec_ = localsecond(nowms());
  // The static layers are built beside the texture and globe steps; their
  // own steps then only hand them over.
  staticbuild_ = std::async(std::launch::async, [coast = files_.coastline, fir1 = files_.fir1] {
    return StaticLayers{drawgrade(), drawcoast(coast), drawfirs(fir1)};
  });
  // The kept refreshes of earlier runs are read beside the startup.
  Effects first;
  first.scanhistory = !replay_.store().retention().off();
  if (!filterdamage_.empty()) first.notes.push_back(filterdamage_);
  const auto log = [](const char* text) { return Step{Step::Log, text}; };
  const auto gl = [](GlWork work) { return Step{Step::Gl, nullptr, work}; };
  const auto layer = [](int list) { return Step{Step::StaticLayer, nullptr, GlWork::None, list}; };
  const Step render{Step::Render};
  steps_.begin({gl(GlWork::StartState),
                log("Load Texture"),    gl(GlWork::LoadTexture),
                log("Create Globe"),    gl(GlWork::BuildGlobes), render,
                log("10 Degrees"),      layer(kGradeList),       render,
                log("Show Coastlines"), layer(kCoastList),       render,
                log("Show Fir's"),      layer(kFirList),         render,
                log("Get Whazzup"),     Step{Step::Download}});
  append(first, runsteps());
  return first;
}

Effects Session::historyfound(HistoryIndex found) {
  Effects out;
  if (shutdown_) return out;
  for (std::string& line : replay_.adopt(std::move(found), nowms())) out.notes.push_back(std::move(line));
  return out;
}

// Steps after a download are queued only when its answer is in, so a
// sequence queued meanwhile (a step of replay) goes on while it runs.
Effects Session::next() {
  steps_.pumped();
  return runsteps();
}

Effects Session::runsteps() {
  if (shutdown_) return {};
  return steps_.runstretch([this](const Step& step, Effects& out) { run(step, out); });
}

void Session::run(const Step& step, Effects& out) {
  switch (step.kind) {
    case Step::Log: logline(step.text, out); break;
    case Step::Gl: out.gl = step.gl; break;
    case Step::StaticLayer:
      addlayer(staticlayer(step.list), out);
      break;
    case Step::Render: out.render = true; break;
    case Step::Download:
      refreshreferences(out);
      // A replay keeps its title through the live refreshes beside it.
      out.title = replay_.active() ? screentitle() : std::string(kLoadingTitle);
      out.startdownload = true;
      break;
    case Step::SideList: sidelist(step.list, out); break;
    case Step::Index: takecopytoshow(); break;
    case Step::ShowNewLists:
      // Moved, not assigned: strings keep their capacity when assigned, and
      // a huge line once parsed would stay held in its slot.
      unfiltered_ = std::move(nextlists_);
      nextlists_ = StatusLists();
      showntext_ = std::move(nexttext_);
      nexttext_.reset();
      showthroughfilter(out);
      if (!replay_.active()) finding_.followafterrefresh(out, view_, shown_);
      if (details_.isopen()) showdetails(out, true);
      break;
    case Step::Trails: addtrails(out); break;
    case Step::Traffic: {
      // The live answer's worker built it already, unless the filter or a
      // switch has changed since.
      std::optional<Layer> built;
      if (!filter_.on()) built = prebuilt_.take(step.layer, step.size, shownanswer_, trafficswitches());
      addlayer(built ? std::move(*built) : buildtraffic(step.layer, step.size, sources()), out);
      break;
    }
    case Step::FinishStartup: {
      out.timers.push_back({TimerId::Refresh, true});
      out.timers.push_back({TimerId::StartZoom, true});
      const int seconds = startupseconds(startsec_, localsecond(nowms()));
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
    case Step::FinishShow: endrebuild(out); break;
    case Step::Filter:
      shown_ = filter_.lists(unfiltered_);
      out.title = screentitle();
      break;
  }
}

Layer Session::staticlayer(int list) {
  // Waits for the build only if the steps before took less time than it.
  if (staticbuild_.valid()) staticlayers_ = staticbuild_.get();
  if (list == kGradeList) return std::move(staticlayers_->grade);
  if (list == kCoastList) return std::move(staticlayers_->coast);
  return std::move(staticlayers_->firs);
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

Session::AnswerJob Session::answerjob() {
  // Copies of what the job reads: the window's thread goes on meanwhile.
  // After startup the job builds the live answer's traffic as well: the
  // reference directories are read by then, and change only at the start
  // of a download, never while its job runs.
  const bool prebuild = started_ && !filter_.on();
  return [folder = feed_.folder, topcount = feed_.lists.topcount, feedtext = feed_.feedtext,
          replay = &replay_, clock = setup_.nowms, prebuild, refs = &refs_,
          switches = trafficswitches()](FetchResult answer) {
    TakenAnswer taken;
    taken.stored = storeanswer(folder, std::move(answer), topcount);
    // A 304 keeps the feedtext the copy stands for.
    const std::string& kept = taken.stored.feedtext ? *taken.stored.feedtext : feedtext;
    taken.kept = replay->keepinstore(kept, clock());
    // An unreadable copy is read again by path, which says why it failed.
    taken.index = taken.stored.copy
                      ? std::make_shared<const ClientIndex>(LineReader::fromtext(*taken.stored.copy))
                      : std::make_shared<const ClientIndex>(statusfilepath(folder));
    if (prebuild) {
      const std::string* copy = taken.stored.copy ? &*taken.stored.copy : nullptr;
      taken.traffic = PrebuiltTraffic::build(refreshplan(), taken.stored.lists, copy,
                                             statusfilepath(folder), *refs, switches);
    }
    return taken;
  };
}

Effects Session::downloaded(FetchResult answer) {
  // An answer nobody waits for is not stored either.
  if (shutdown_ || !steps_.waiting()) return {};
  return downloaded(answerjob()(std::move(answer)));
}

Effects Session::downloaded(TakenAnswer answer) {
  if (shutdown_ || !steps_.answered()) return {};
  Effects out;
  const ClockTexts now = localclock(nowms());
  // The first refresh of a new local day starts its peak from its own count.
  if (peak_.newday(now)) {
    peak_.startday(now);
    answer.stored.lists.topcount = answer.stored.lists.clicount;
  }
  livecopy_ = std::move(answer.stored.copy);
  liveindex_ = std::move(answer.index);
  prebuilt_ = std::move(answer.traffic);
  prebuilt_.belongto(++liveanswer_);
  const std::string title = applyanswer(feed_, std::move(answer.stored));
  if (std::optional<std::string> note = replay_.kept(answer.kept)) out.notes.push_back(*note);
  peak_.keep(feed_.lists.topcount, now);
  friendnews(out);
  if (replay_.active()) {
    // Fetched, stored and kept, not shown: the replay stays on screen.
    steps_.finishunseen();
  } else {
    // Under a filter the title waits for the filtered lists to count.
    if (!filter_.on()) out.title = title;
    queueaftertheanswer();
  }
  steps_.askmore(out);
  return out;
}

void Session::queueaftertheanswer() {
  steps_.queueshow(started_ ? Step::FinishRefresh : Step::FinishStartup,
                   started_ ? refreshplan() : startupplan());
}

void Session::sidelist(int routine, Effects& out) {
  const auto fill = [&](int box, SideList list, const std::string& source) {
    say(source, list.failure, out);
    finding_.setrows(box, std::move(list.clients), nextindex_);
    out.sidelists.push_back({box, std::move(list.rows)});
  };
  switch (routine) {
    case 1: {
      ObsLists obs = getobs(nextcopy());
      fill(1, std::move(obs.listbox1), "getobs");
      fill(2, std::move(obs.listbox2), "getobs");
      break;
    }
    case 2: fill(3, getfriends(nextcopy(), friends_.ids()), "getfriends"); break;
    case 3: fill(4, getedbb(nextcopy(), refs_, homeregion().box), "getedbb"); break;
    case 4: fill(5, getinbound(nextlists_, homeregion()), "getinbound"); break;
    case 5: fill(6, getoutbound(nextlists_, homeregion()), "getoutbound"); break;
  }
}

void Session::takecopytoshow() {
  if (const std::string* text = replay_.text()) {
    nexttext_ = *text;
    nextlists_ = StatusLists(replay_.lists());
    nextindex_ = std::make_shared<const ClientIndex>(nextcopy());
    shownanswer_ = 0;
  } else {
    nexttext_ = livecopy_;
    shownanswer_ = liveanswer_;
    nextlists_ = StatusLists(feed_.lists);
    nextindex_ = liveindex_ ? liveindex_ : std::make_shared<const ClientIndex>(nextcopy());
  }
  // The search finds what the side lists and the traffic are about to show.
  finding_.setindex(nextindex_);
}

LineReader Session::nextcopy() const {
  // An unreadable copy is read again by path, which says why it failed.
  return nexttext_ ? LineReader::fromtext(*nexttext_) : LineReader(statusfilepath(feed_.folder));
}

// ---- history --------------------------------------------------------------

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
  const ReplayMove move = replay_.move(code);
  switch (move.kind) {
    case ReplayMove::Stay:
      if (!move.summary.empty()) out.summary = move.summary;
      return out;
    case ReplayMove::Live: return golive();
    case ReplayMove::Kept: return showkept(move.index);
  }
  return out;
}

Effects Session::showkept(std::size_t index) {
  Effects out;
  const std::string failure = replay_.show(index, feed_.lists.topcount);
  if (!failure.empty()) {
    out.summary = failure;
    return out;
  }
  steps_.clearshow();
  out.title = replay_.title();
  steps_.queueshow(Step::FinishShow, refreshplan());
  append(out, runsteps());
  return out;
}

Effects Session::golive() {
  steps_.clearshow();
  replay_.leave();
  Effects out;
  out.title = livetitle(feed_);
  steps_.queueshow(Step::FinishShow, refreshplan());
  append(out, runsteps());
  return out;
}

void Session::addtrails(Effects& out) {
  if (scene_.trails != 1) return;
  addlayer(replay_.trails(shown_, friends_.ids(), nowms()), out);
}

}  // namespace netglobe
