// The globe filter and the friends who come online: the session's part of
// them, beside the sequences they hook into.
#include "session/effects_merge.h"
#include "session/session.h"

namespace netglobe {

Effects Session::setfilter(const std::string& text) {
  const bool changed = filter_.set(text);
  Effects out;
  if (changed) {
    if (filter_.on() && !filter_.indexed()) filter_.index(showncopy());
    steps_.queuefilter(refreshplan());
    out = runsteps();
    // Each keystroke while filtering comes here: the file's write and sync
    // wait on the disk elsewhere.
    out.keepfilter = filter_.query().text;
  }
  if (finding_.searchopen()) out.search = filteredsearch().search;
  return out;
}

GlobeFilter::Keeper Session::filterjob() const { return filter_.keeper(); }

Effects Session::filterkept(const std::string& failure) {
  Effects out;
  say("filter.txt", failure, out);
  return out;
}

Effects Session::filterfromfield(const std::string& text) {
  // Closed first: the filter's steps ask for more last.
  Effects out = finding_.closesearch();
  append(out, setfilter(text));
  return out;
}

Effects Session::filteredsearch() {
  // Under a filter the field lists what the globe draws.
  const std::string problems = filterproblemsnote(filter_.query());
  ClientSearch found = filter_.matches();
  std::string footer = problems.empty() ? searchfooter(found) : problems;
  Effects out = finding_.listmatches(std::move(found), std::move(footer));
  out.search->filtering = filter_.on();
  return out;
}

void Session::showthroughfilter(Effects& out) {
  // The filter reads the copy now shown, whatever it read before.
  filter_.index(showncopy());
  shown_ = filter_.lists(unfiltered_);
  if (filter_.on()) out.title = screentitle();
}

std::string Session::screentitle() const {
  return (replay_.active() ? replay_.title() : livetitle(feed_)) + filter_.titlesuffix();
}

LineReader Session::showncopy() const {
  return showntext_ ? LineReader::fromtext(*showntext_) : LineReader(statusfilepath(feed_.folder));
}

void Session::friendnews(Effects& out) {
  // A failed request says nothing new about anyone.
  if (feed_.feedtext.empty()) return;
  FriendNews news = friendsonline_.seen(LineReader::fromtext(feed_.feedtext), friends_.ids());
  if (!news.statusline.empty()) out.notice = std::move(news.statusline);
  out.notify = std::move(news.notices);
}

}  // namespace netglobe
