#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace netglobe {

// A history segment file: kSegmentMagic, then records appended one after
// the other. A record is a fixed header, the UPDATE text, and the refresh
// packed by zstd, alone (a full record) or with the text of the record
// before it as prefix (a delta). Each record's check hash covers all of it,
// so a cut or damaged record is told from a good one and reading stops
// there; the records before it stay readable.
inline constexpr std::string_view kSegmentMagic = "NetGlobe-hist-1\n";
inline constexpr std::string_view kSegmentSuffix = ".hist";
inline constexpr std::size_t kRecordHeaderBytes = 48;
// Far above any status body (at most 64 MiB, twice that with CR LF line
// ends): a header that claims more is damaged.
inline constexpr std::uint64_t kMaxKeptBytes = 160ull << 20;

enum class RecordKind : std::uint8_t { Full = 0, Delta = 1 };

struct RecordInfo {
  RecordKind kind = RecordKind::Full;
  std::int64_t receiptms = 0;      // time of receipt, ms since 1970 (UTC)
  std::string update;              // the file's UPDATE value, may be empty
  std::uint64_t rawsize = 0;       // bytes of the refresh's text
  std::uint64_t contenthash = 0;   // hash of the refresh's text
  std::uint64_t offset = 0;        // of the packed bytes in the segment
  std::uint64_t packedsize = 0;
};

// A hash for telling damaged bytes from good ones (not against forgery).
std::uint64_t historyhash(std::string_view bytes, std::uint64_t seed = 0);

// One record as written: header, UPDATE text and packed bytes. The info's
// offset is not used.
std::string encoderecord(const RecordInfo& info, std::string_view packed);

// Where a segment's bytes come from: a file or, for tests, memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t size() const = 0;
  // Exactly n bytes at offset into out; false when they cannot be read.
  virtual bool readat(std::uint64_t offset, std::size_t n, std::string& out) const = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  bool readat(std::uint64_t offset, std::size_t n, std::string& out) const override;

 private:
  std::string_view bytes_;
};

struct SegmentRead {
  bool ours = false;     // begins with the segment magic (or a cut piece of it)
  bool cancelled = false;  // the reading was asked to stop before the end
  std::vector<RecordInfo> records;  // the good records before any damage
  std::string damage;    // empty when every byte was a good record
};

// Reads a segment's record headers and checks every record's hash; the
// first delta must follow a record it can be unpacked against. Stops
// between two records once *cancel is set.
SegmentRead readsegment(const ByteSource& source, const std::atomic<bool>* cancel = nullptr);

}  // namespace netglobe
