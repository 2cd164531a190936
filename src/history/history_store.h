#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_codec.h"
#include "history/history_option.h"
#include "history/history_scan.h"
#include "history/kept_index.h"
#include "history/segment_writer.h"
#include "history/unpack_cache.h"

namespace netglobe {

// A full refresh every this many kept refreshes (the others are deltas
// against the one before): damage loses at most the refreshes up to the
// next full one, and reading any refresh unpacks at most this many.
inline constexpr std::size_t kFullEvery = 20;

enum class KeepOutcome {
  Kept,
  SameUpdate,  // the UPDATE time of the last kept refresh: the server had nothing new
  SameText,    // no UPDATE line, and byte for byte the last kept refresh
  Off,         // retention 0: nothing is kept
  Failed,
};

struct KeepResult {
  KeepOutcome outcome = KeepOutcome::Off;
  std::uint64_t serial = 0;  // of the kept refresh
  std::string failure;       // why, when Failed
  // True the first time a failure is met, and again only when its reason
  // changes or it comes back after a refresh was kept: say it then.
  bool tell = false;
};

// The store of kept refreshes in one folder: appends each new refresh to a
// segment file of its own run (a new one at start, after a write failure and
// every kFullEvery refreshes), drops refreshes older than the retention and
// deletes segment files all of whose refreshes are gone. Not thread-safe:
// the download's worker keeps and the window's thread reads, so every call
// goes through one lock of its owner's.
class HistoryStore {
 public:
  HistoryStore(std::string folder, HistoryRetention retention);
  HistoryStore(const HistoryStore&) = delete;
  HistoryStore& operator=(const HistoryStore&) = delete;

  // Takes in what scanhistory found in the folder (usually on a worker
  // thread, while this store already keeps). Its own segments are known
  // already and stay as they are. Drops what is past the retention. Returns
  // the lines to say: files skipped and segments read only in part.
  std::vector<std::string> adopt(HistoryIndex found, std::int64_t nowms);

  // Keeps body (the status text as stored) received at receiptms, unless it
  // has the UPDATE time of the last kept refresh or, without UPDATE, is that
  // refresh byte for byte. Then drops what is past the retention.
  KeepResult keep(std::string_view body, std::int64_t receiptms);

  // Drops refreshes received before nowms - retention.
  void prune(std::int64_t nowms);

  // The kept refreshes, oldest first.
  std::size_t size() const { return index_.size(); }
  const KeptRefresh& at(std::size_t i) const;
  // The full text of kept refresh i. Reading back through a segment is
  // cheap once one refresh of it has been read: the segment's texts up to
  // that one stay unpacked (for the two segments read last).
  HistoryText read(std::size_t i);
  // Gives back the memory of the unpacked texts (when replay ends).
  void dropunpacked();

  const std::string& folder() const { return folder_; }
  HistoryRetention retention() const { return retention_; }
  // Bytes of all segment files the store knows.
  std::uint64_t diskbytes() const { return index_.diskbytes(); }

 private:
  bool sameaslast(std::string_view body, std::string_view update, std::uint64_t hash) const;
  void closesegment(bool cut);
  KeepResult failed(std::string reason);
  bool removesegment(const std::string& file);

  struct LastKept {
    bool any = false;
    std::string update;
    std::uint64_t rawsize = 0;
    std::uint64_t contenthash = 0;
  };

  std::string folder_;
  HistoryRetention retention_;
  KeptIndex index_;
  SegmentWriter writer_;
  HistoryPacker packer_;
  UnpackCache unpacked_;

  // The text of the last record written (the prefix of the next delta).
  std::string lasttext_;
  std::uint64_t lastserial_ = 0;  // of the refresh lasttext_ holds
  LastKept last_;
  std::string lastfailure_;
};

}  // namespace netglobe
