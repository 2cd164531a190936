#pragma once

#include <array>
#include <string>
#include <string_view>

namespace netglobe {

// The 41 positions of one client record in the text layout, filled from a
// JSON entry and written as a colon-separated line.
class ClientRecord {
 public:
  static constexpr int kPositions = 41;

  // Empties every position; the buffers stay for the next entry.
  void clear();
  std::string& operator[](int position) { return fields_.at(static_cast<std::size_t>(position - 1)); }
  const std::string& operator[](int position) const {
    return fields_.at(static_cast<std::size_t>(position - 1));
  }
  // Appends the record and a line end. A ':' inside a value would shift
  // every later position, and a line break would split the record: both,
  // and NUL, become blanks.
  void appendto(std::string& out) const;

 private:
  std::array<std::string, kPositions> fields_;
};

// The separator of information lines in the ATIS position, "^" and the
// section sign (as UTF-8, like the rest of a converted document).
inline constexpr std::string_view kAtisLineBreak = "^\xC2\xA7";

// "2024-01-01T11:00:00.1234567Z" as "20240101110000": the fraction is cut,
// never rounded. Anything without the 14 digits of a date and time reads
// as an empty text.
std::string compacttime(std::string_view iso);

// "HHMM" (hours may have more digits) into hours and minutes as numbers:
// "0105" gives 1 and 5, "02134" 21 and 34. Text that is not all digits
// leaves both empty.
void splitclock(std::string_view hhmm, std::string& hours, std::string& minutes);

// Seconds into whole hours and the minutes left over.
void splitseconds(long long seconds, std::string& hours, std::string& minutes);

}  // namespace netglobe
