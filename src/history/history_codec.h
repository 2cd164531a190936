#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace netglobe {

// Packs refreshes with zstd, either alone or against the text of the
// refresh before (as prefix). Consecutive refreshes share most of their
// text, so a delta is a small fraction of a full refresh. The contexts are
// reused from one refresh to the next.
class HistoryPacker {
 public:
  HistoryPacker();
  ~HistoryPacker();
  HistoryPacker(const HistoryPacker&) = delete;
  HistoryPacker& operator=(const HistoryPacker&) = delete;

  // An empty prefix packs the text alone. Empty result: zstd failed.
  std::string pack(std::string_view text, std::string_view prefix);

 private:
  struct Context;
  std::unique_ptr<Context> cctx_;
};

class HistoryUnpacker {
 public:
  HistoryUnpacker();
  ~HistoryUnpacker();
  HistoryUnpacker(const HistoryUnpacker&) = delete;
  HistoryUnpacker& operator=(const HistoryUnpacker&) = delete;

  // The text packed against the same prefix, when it unpacks to exactly
  // rawsize bytes and its frame's checksum holds; false otherwise (out then
  // undefined). out's buffer is reused: a chain of texts unpacked again and
  // again into the same strings costs no fresh memory.
  bool unpack(std::string_view packed, std::string_view prefix, std::uint64_t rawsize,
              std::string& out);

 private:
  struct Context;
  std::unique_ptr<Context> dctx_;
};

}  // namespace netglobe
