#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "history/history_scan.h"

namespace netglobe {

// One kept refresh as the index lists it.
struct KeptRefresh {
  std::uint64_t serial = 0;   // unique within the store's life, never reused
  std::int64_t receiptms = 0; // time of receipt, ms since 1970 (UTC)
  std::string update;         // the file's UPDATE value, "" when it had none
};

// The segments a store knows and their refreshes within the retention, in
// order, each with a serial of its own.
class KeptIndex {
 public:
  struct Segment : HistorySegment {
    std::vector<std::uint64_t> serials;     // one for each record
    std::vector<std::size_t> chainstarts;   // the full record each record is unpacked from
    std::size_t firstlive = 0;  // records before it are past the retention
    bool own = false;           // written by this run
    std::int64_t lastms() const;
  };
  struct Entry {
    std::size_t segment;
    std::size_t record;
    KeptRefresh kept;
  };

  // What a scan found; segments known already (ours) are left as they are.
  // Returns the lines to say about damaged ones.
  std::vector<std::string> adopt(std::vector<HistorySegment> found);
  // A segment of our own, just begun.
  void addown(const std::string& file, std::int64_t namedms, std::uint64_t bytes);
  // A record appended to our segment file; its serial.
  std::uint64_t addrecord(const std::string& file, RecordInfo info, std::uint64_t bytes);
  // Forgets a segment (its file deleted).
  void drop(const std::string& file);
  // Drops refreshes received before cutoff, and the files of segments all of
  // whose refreshes went, except writing; gone is told each file deleted.
  void prune(std::int64_t cutoff, const std::string& writing, const std::function<bool(const std::string&)>& remove);

  const Segment* find(const std::string& file) const;
  std::size_t size() const { return entries_.size(); }
  const Entry& entry(std::size_t i) const { return entries_.at(i); }
  const Segment& segment(std::size_t s) const { return segments_.at(s); }
  const RecordInfo* last() const;
  std::uint64_t diskbytes() const;

 private:
  void addrecord(Segment& segment, RecordInfo info);
  Segment* findown(const std::string& file);
  void reindex();

  std::vector<Segment> segments_;  // by first receipt, oldest first
  std::vector<Entry> entries_;     // the live records of every segment, in order
  std::uint64_t nextserial_ = 1;
};

}  // namespace netglobe
