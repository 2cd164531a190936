// The globe filter and the friends who come online: the session's part of
// them, beside the sequences they hook into.
#include "session/session.h"

namespace netglobe {

Effects Session::setfilter(const std::string& text) {
  std::string failure;
  const bool changed = filter_.set(text, failure);
  Effects out;
  if (changed) {
    if (filter_.on() && !filter_.indexed()) filter_.index(showncopy());
    queuefilter();
    out = runsteps();
  }
  say("filter.txt", failure, out);
  if (searchopen_) out.search = filteredsearch().search;
  return out;
}

Effects Session::filterfromfield(const std::string& text) {
  Effects out = setfilter(text);
  searchopen_ = false;
  out.search = SearchView{};
  out.focusstatus = true;
  return out;
}

Effects Session::filteredsearch() {
  // Under a filter the field lists what the globe draws.
  if (filter_.on()) search_ = filter_.matches();
  const std::string problems = filterproblemsnote(filter_.query());
  return showsearch(problems.empty() ? searchfooter(search_) : problems);
}

void Session::queuefilter() {
  // A show still to come draws through the filter as it will then stand.
  for (const Step& step : steps_) {
    if (step.kind == Step::ShowNewLists || step.kind == Step::Filter) return;
  }
  if (!started_ && waiting_) return;  // the first answer is still to come
  steps_.push_back(Step{Step::Filter});
  for (const PlannedLayer& planned : refreshplan()) {
    Step build{Step::Traffic};
    build.layer = planned.layer;
    build.size = planned.size;
    steps_.push_back(build);
  }
  steps_.push_back(Step{Step::Trails});
  steps_.push_back(Step{Step::Render});
  steps_.push_back(Step{Step::FinishShow});
}

void Session::showfiltered(Effects& out) {
  // As after a refresh: a pick waits until every layer is drawn anew.
  rebuilding_ = started_;
  shown_ = filter_.lists(sourcelists());
  out.title = screentitle();
}

std::string Session::screentitle() const {
  return (replayat_ ? replaytitle_ : livetitle()) + filter_.titlesuffix();
}

void Session::friendnews(Effects& out) {
  // A failed request says nothing new about anyone.
  if (feed_.feedtext.empty()) return;
  FriendNews news = friendsonline_.seen(LineReader::fromtext(feed_.feedtext), friends_.ids());
  if (!news.statusline.empty()) out.notice = std::move(news.statusline);
  out.notify = std::move(news.notices);
}

}  // namespace netglobe
