#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "history/history_format.h"

namespace netglobe {

// One segment file of the store as read: its good records, oldest first.
struct HistorySegment {
  std::string file;           // name inside the store's folder
  std::int64_t namedms = 0;   // receipt time its name carries (of its first record)
  std::uint64_t bytes = 0;    // size of the file when read
  std::vector<RecordInfo> records;
  std::string damage;         // a line to say when it was read only in part, else ""

  // Receipt time it is ordered by: of its first record, or of its name.
  std::int64_t firstms() const { return records.empty() ? namedms : records.front().receiptms; }
};

// Segments are listed by the receipt of their first refresh, then by name.
inline bool segmentbefore(const HistorySegment& a, const HistorySegment& b) {
  return a.firstms() < b.firstms() || (a.firstms() == b.firstms() && a.file < b.file);
}

// What a folder's store holds.
struct HistoryIndex {
  std::string folder;
  std::vector<HistorySegment> segments;  // by firstms(), oldest first
  std::vector<std::string> skipped;      // a line for each file that is no segment
  bool cancelled = false;                // the scan stopped early: the index is partial
};

// Reads every segment in folder: record headers and check hashes, not the
// refreshes' texts (those are unpacked when read). A missing folder is an
// empty store. Touches nothing but the folder's files, which it only
// reads: safe to run on a worker thread while the window keeps refreshes.
// Stops between two records once *cancel is set.
HistoryIndex scanhistory(const std::string& folder, const std::atomic<bool>* cancel = nullptr);

// "<receiptms>-<pid>-<n>.hist": new segments never take an existing name.
std::string segmentname(std::int64_t receiptms, long pid, unsigned n);

// A segment file read through pread.
class FileSource : public ByteSource {
 public:
  explicit FileSource(const std::string& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool isopen() const { return fd_ >= 0; }
  int openerror() const { return error_; }
  std::uint64_t size() const override { return size_; }
  bool readat(std::uint64_t offset, std::size_t n, std::string& out) const override;

 private:
  int fd_ = -1;
  int error_ = 0;
  std::uint64_t size_ = 0;
};

}  // namespace netglobe
