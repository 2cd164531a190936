#pragma once

#include <cstdint>
#include <string>

namespace netglobe {

// The one segment file a store appends to: made with a name no other file
// has, written one synced record at a time, closed when full or after a
// failed write.
class SegmentWriter {
 public:
  explicit SegmentWriter(std::string folder) : folder_(std::move(folder)) {}
  ~SegmentWriter();
  SegmentWriter(const SegmentWriter&) = delete;
  SegmentWriter& operator=(const SegmentWriter&) = delete;

  bool isopen() const { return fd_ >= 0; }
  // Name of the file being written, "" when none.
  const std::string& file() const { return file_; }
  std::uint64_t bytes() const { return bytes_; }

  // A new segment file for a refresh received at receiptms: "" or why not.
  std::string start(std::int64_t receiptms);
  // One record, synced: after a crash it is whole or cut, and a cut record
  // ends the segment's reading without touching those before it.
  std::string append(const std::string& bytes);
  // Closes the file. cut: a failed append may have left part of a record,
  // which goes so that a later reading does not take it for damage. A
  // segment that holds no record is deleted.
  void close(bool cut, bool holdsrecords);

 private:
  std::string folder_;
  int fd_ = -1;
  std::string file_;
  std::uint64_t bytes_ = 0;  // where the file ends
  unsigned nextname_ = 0;
};

}  // namespace netglobe
