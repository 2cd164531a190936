#pragma once

#include <array>
#include <string>
#include <string_view>

namespace netglobe {

// The shared field buffer of every colon-record reader: positions 1 to 100.
// Positions a split does not reach keep what an earlier split left there;
// readers that need a position a line may lack clear it before splitting.
class FieldBuf {
 public:
  static constexpr int kPositions = 100;

  const std::string& operator()(int n) const { return slots_.at(n); }
  std::string& operator()(int n) { return slots_.at(n); }

 private:
  std::array<std::string, kPositions + 1> slots_{};  // slot 0 unused
};

// Splits curline at every ':' into positions 1..k and writes the empty
// terminator at k+1. A line of 100 or more pieces keeps its first 99 fields
// and gets the terminator at 100: one malformed record must not stop the
// reader that called us.
void getfields(std::string_view curline, FieldBuf& fieldbuf);

// Splits a coordinate pair at its first ':' only, into positions 1 and 2.
// Returns false, touching nothing, when the line has no colon.
bool getfields2(std::string_view curline, FieldBuf& fieldbuf);

}  // namespace netglobe
