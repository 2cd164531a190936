#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "feed/status_lists.h"
#include "history/history_option.h"
#include "history/history_scan.h"
#include "history/history_store.h"
#include "history/pilot_positions.h"
#include "layers/destination_line.h"
#include "refdata/friends_file.h"
#include "scene/layer.h"

namespace netglobe {

// Where a replay key leads from the refresh on screen.
struct ReplayMove {
  enum Kind {
    Stay,  // nowhere; summary says why when it has to
    Live,  // back to the live refresh
    Kept,  // the kept refresh at index
  } kind = Stay;
  std::size_t index = 0;
  std::string summary;
};

// The history of a run: every good answer kept in the store, and the kept
// refresh shown in place of the live one while replaying, with its own
// lists, title and trails.
class Replay {
 public:
  using Keeper = std::function<KeepResult(HistoryStore&, std::string_view body, std::int64_t receiptms)>;

  // keep stands in for HistoryStore::keep when given.
  Replay(std::string folder, HistoryRetention retention, Keeper keep = {});

  // What the startup's scan of the folder found; the lines to say.
  std::vector<std::string> adopt(HistoryIndex found, std::int64_t nowms);
  // Keeps a fresh answer (feedtext "" after a failure: nothing to keep) as
  // the live refresh. A line to say when keeping failed.
  std::optional<std::string> keep(const std::string& feedtext, std::int64_t nowms) {
    return kept(keepinstore(feedtext, nowms));
  }
  // The store's half of keep: any thread may run it, also while the
  // window's thread replays (the store is locked meanwhile). None when there
  // was nothing to keep.
  std::optional<KeepResult> keepinstore(const std::string& feedtext, std::int64_t nowms);
  // The window's half: the kept refresh becomes the live one.
  std::optional<std::string> kept(const std::optional<KeepResult>& result);

  // Where ",", "." or "l" leads from what is on screen.
  ReplayMove move(int code) const;
  // Shows kept refresh index: its text, lists and title; peak is the day's
  // peak, which a replay shows but never raises. "" or why it cannot be read.
  std::string show(std::size_t index, int peak);
  // Back to the live refresh: the replay's memory is given back.
  void leave();

  bool active() const { return at_.has_value(); }
  // The kept refresh on screen (oldest first), or nothing when live.
  std::optional<std::size_t> index() const;
  const std::string& title() const { return title_; }
  const StatusLists& lists() const { return lists_; }
  // The replayed text, or null when live.
  const std::string* text() const { return at_ ? &text_ : nullptr; }
  std::size_t size() const;
  // For reading while no answer is being kept.
  const HistoryStore& store() const { return store_; }

  // The trails up to the refresh on screen, drawn over lists.
  Layer trails(const StatusLists& lists, const FriendIds& friends, std::int64_t nowms);
  // The details panel's pilot: its line and its trail up to the refresh on
  // screen. Kept refreshes the trails have not decoded are read only when
  // readkept is true: that takes far longer than a click may.
  Layer panelflight(const std::optional<PanelFlight>& flight, std::int64_t nowms, bool readkept);

 private:
  std::optional<std::size_t> indexlocked() const;  // index() with the store locked

  // Keeping runs on the download's worker: every use of the store holds
  // this lock.
  mutable std::mutex storelock_;
  HistoryStore store_;
  Keeper keep_;
  std::uint64_t livekept_ = 0;  // serial of the live refresh in the store; 0 none
  // The kept refresh on screen, by serial: keeping a live refresh may drop
  // the oldest ones and move every index.
  std::optional<std::uint64_t> at_;
  std::int64_t receiptms_ = 0;
  std::string text_;
  StatusLists lists_;
  std::string title_;
  std::int64_t trailend(std::int64_t nowms) const;

  PositionFrames frames_;  // decoded positions for the trails
};

}  // namespace netglobe
