#include "session/replay.h"

#include "base/line_reader.h"
#include "base/local_time.h"
#include "feed/status_parser.h"
#include "history/update_time.h"
#include "layers/trail_layer.h"

namespace netglobe {

Replay::Replay(std::string folder, HistoryRetention retention, Keeper keep)
    : store_(std::move(folder), retention), keep_(std::move(keep)) {
  if (!keep_) keep_ = [](HistoryStore& store, std::string_view body, std::int64_t ms) { return store.keep(body, ms); };
}

std::vector<std::string> Replay::adopt(HistoryIndex found, std::int64_t nowms) {
  const std::lock_guard<std::mutex> lock(storelock_);
  return store_.adopt(std::move(found), nowms);
}

std::size_t Replay::size() const {
  const std::lock_guard<std::mutex> lock(storelock_);
  return store_.size();
}

std::optional<KeepResult> Replay::keepinstore(const std::string& feedtext, std::int64_t nowms) {
  // Only a good answer is kept: a failed one left the copy as it was.
  if (feedtext.empty()) return std::nullopt;
  const std::lock_guard<std::mutex> lock(storelock_);
  KeepResult kept = keep_(store_, feedtext, nowms);
  // A repeat of the newest kept refresh is that one.
  if ((kept.outcome == KeepOutcome::SameUpdate || kept.outcome == KeepOutcome::SameText) &&
      store_.size() > 0) {
    kept.serial = store_.at(store_.size() - 1).serial;
  }
  return kept;
}

std::optional<std::string> Replay::kept(const std::optional<KeepResult>& result) {
  if (!result) return std::nullopt;
  const KeepResult& kept = *result;
  const bool same = kept.outcome == KeepOutcome::SameUpdate || kept.outcome == KeepOutcome::SameText;
  if (kept.outcome == KeepOutcome::Kept || (same && kept.serial != 0)) livekept_ = kept.serial;
  if (kept.outcome != KeepOutcome::Failed) return std::nullopt;
  // The live refresh is in no kept one: "," from live shows the newest kept.
  livekept_ = 0;
  if (kept.tell) return "history not kept: " + kept.failure;
  return std::nullopt;
}

std::optional<std::size_t> Replay::index() const {
  if (!at_) return std::nullopt;
  const std::lock_guard<std::mutex> lock(storelock_);
  return indexlocked();
}

std::optional<std::size_t> Replay::indexlocked() const {
  for (std::size_t i = store_.size(); i-- > 0;) {
    if (store_.at(i).serial == *at_) return i;
  }
  return std::nullopt;
}

ReplayMove Replay::move(int code) const {
  if (code == 'l') return {at_ ? ReplayMove::Live : ReplayMove::Stay, 0, {}};
  const std::lock_guard<std::mutex> lock(storelock_);
  const std::optional<std::size_t> at = at_ ? indexlocked() : std::nullopt;
  if (code == '.') {
    if (!at_) return {ReplayMove::Stay, 0, {}};
    // Past the newest kept refresh is the live one.
    if (!at || *at + 1 >= store_.size()) return {ReplayMove::Live, 0, {}};
    return {ReplayMove::Kept, *at + 1, {}};
  }
  // ",": one kept refresh back; the oldest stays.
  const std::size_t kept = store_.size();
  if (kept == 0) return {ReplayMove::Stay, 0, "no kept refreshes to replay"};
  std::size_t to = 0;
  if (at_) {
    // A replayed refresh dropped meanwhile was older than any kept now.
    to = !at || *at == 0 ? 0 : *at - 1;
  } else {
    // From live, the newest kept refresh is what is on screen already
    // when it is the live one.
    to = kept - 1;
    if (store_.at(to).serial == livekept_ && to > 0) --to;
  }
  return {ReplayMove::Kept, to, {}};
}

std::string Replay::show(std::size_t index, int peak) {
  {
    const std::lock_guard<std::mutex> lock(storelock_);
    // A keep meanwhile may have dropped the oldest refreshes.
    if (index >= store_.size()) return "kept refresh no longer kept";
    HistoryText kept = store_.read(index);
    if (!kept.ok) return "kept refresh unreadable: " + kept.failure;
    at_ = store_.at(index).serial;
    receiptms_ = store_.at(index).receiptms;
    text_ = std::move(kept.text);
  }
  // The kept refresh's own counts; the day's peak only shows, never rises.
  lists_.topcount = peak;
  what2array(LineReader::fromtext(text_), lists_);
  lists_.topcount = peak;
  std::string when(statusupdatetime(text_));
  if (when.empty()) {
    const ClockTexts receipt = localclock(receiptms_);
    when = receipt.date + " " + receipt.time;
  }
  title_ = "REPLAY " + when + countstitle(lists_);
  return {};
}

void Replay::leave() {
  at_.reset();
  text_.clear();
  text_.shrink_to_fit();
  lists_ = StatusLists();
  const std::lock_guard<std::mutex> lock(storelock_);
  store_.dropunpacked();
}

std::int64_t Replay::trailend(std::int64_t nowms) const {
  // The trails end at the refresh on screen: the replayed one, or the newest.
  // The caller holds storelock_.
  if (at_) return receiptms_;
  if (store_.size() > 0) return store_.at(store_.size() - 1).receiptms;
  return nowms;
}

Layer Replay::trails(const StatusLists& lists, const FriendIds& friends, std::int64_t nowms) {
  const std::lock_guard<std::mutex> lock(storelock_);
  const std::int64_t endms = trailend(nowms);
  frames_.update(store_, endms, kTrailWindowMs);
  return drawtrails(frames_.frames(), lists, friends, endms);
}

Layer Replay::panelflight(const std::optional<PanelFlight>& flight, std::int64_t nowms, bool readkept) {
  const std::lock_guard<std::mutex> lock(storelock_);
  const std::int64_t endms = trailend(nowms);
  if (flight && readkept && !store_.retention().off()) frames_.update(store_, endms, kTrailWindowMs);
  return drawpanelflight(flight, frames_.frames(), endms);
}

}  // namespace netglobe
