#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "history/history_codec.h"
#include "history/history_scan.h"

namespace netglobe {

struct HistoryText {
  bool ok = false;
  std::string text;     // the refresh as it was kept
  std::string failure;  // why it could not be read
};

// Texts of a segment unpacked from one of its full records on. Reading back
// through a segment is cheap once one refresh of it has been read. Two
// chains are kept: replay reads near the refresh it shows while its trails
// read half an hour further back.
class UnpackCache {
 public:
  // The text of record `record` of segment, found in folder, whose chain
  // begins at its full record chainstart.
  HistoryText read(const std::string& folder, const HistorySegment& segment, std::size_t record,
                   std::size_t chainstart);
  // The segment's file is gone.
  void forget(const std::string& file);
  // Gives back the memory of every text.
  void drop() { chains_ = {}; }

 private:
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
