#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_codec.h"
#include "history/history_option.h"
#include "history/history_scan.h"

namespace netglobe {

// A full refresh every this many kept refreshes (the others are deltas
// against the one before): damage loses at most the refreshes up to the
// next full one, and reading any refresh unpacks at most this many.
inline constexpr std::size_t kFullEvery = 20;

// One kept refresh as the index lists it.
struct KeptRefresh {
  std::uint64_t serial = 0;   // unique within the store's life, never reused
  std::int64_t receiptms = 0; // time of receipt, ms since 1970 (UTC)
  std::string update;         // the file's UPDATE value, "" when it had none
};

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

struct HistoryText {
  bool ok = false;
  std::string text;     // the refresh as it was kept
  std::string failure;  // why it could not be read
};

// The store of kept refreshes in one folder: appends each new refresh to a
// segment file of its own run (a new one at start, after a write failure and
// every kFullEvery refreshes), drops refreshes older than the retention and
// deletes segment files all of whose refreshes are gone. Only the thread
// that owns it may call it.
class HistoryStore {
 public:
  HistoryStore(std::string folder, HistoryRetention retention);
  ~HistoryStore();
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
  std::size_t size() const { return entries_.size(); }
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
  std::uint64_t diskbytes() const;

 private:
  struct Record {
    RecordInfo info;
    std::uint64_t serial = 0;
    std::size_t chainstart = 0;  // the full record it is unpacked from
  };
  struct Segment {
    std::string file;
    std::int64_t namedms = 0;
    std::uint64_t bytes = 0;
    std::vector<Record> records;
    std::size_t firstlive = 0;  // records before it are past the retention
    bool own = false;
    std::int64_t firstms() const;
    std::int64_t lastms() const;
  };
  struct Entry {
    std::size_t segment;
    std::size_t record;
    KeptRefresh kept;
  };
  struct LastKept {
    bool any = false;
    std::string update;
    std::uint64_t rawsize = 0;
    std::uint64_t contenthash = 0;
  };

  void addrecord(Segment& segment, RecordInfo info);
  bool sameaslast(std::string_view body, std::string_view update, std::uint64_t hash) const;
  std::string startsegment(std::int64_t receiptms);
  std::string append(const std::string& bytes);
  void closesegment(bool truncate);
  KeepResult failed(std::string reason);
  void reindex();
  std::string path(const std::string& file) const { return folder_ + "/" + file; }

  std::string folder_;
  HistoryRetention retention_;
  std::vector<Segment> segments_;  // by first receipt, oldest first
  std::vector<Entry> entries_;     // the live records of every segment, in order
  std::uint64_t nextserial_ = 1;
  unsigned nextname_ = 0;

  // The segment being written: its file, where it ends, and the text of its
  // last record (the prefix of the next delta).
  int fd_ = -1;
  std::string writing_;
  std::uint64_t writtenbytes_ = 0;
  std::string lasttext_;
  std::uint64_t lastserial_ = 0;  // of the refresh lasttext_ holds
  LastKept last_;
  std::string lastfailure_;
  HistoryPacker packer_;

  // Texts of a segment unpacked from one of its full records on. Two are
  // kept: replay reads near the refresh it shows while its trails read half
  // an hour further back.
  struct Chain {
    std::string file;
    std::size_t from = 0;
    std::size_t count = 0;           // texts[0, count) are records from, from + 1, ...
    std::vector<std::string> texts;  // kept with their buffers when the chain is reused
    std::uint64_t used = 0;
  };
  Chain& chainof(const std::string& file, std::size_t from);
  std::array<Chain, 2> chains_;
  std::uint64_t reads_ = 0;
  HistoryUnpacker unpacker_;
};

}  // namespace netglobe
