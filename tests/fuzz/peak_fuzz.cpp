// topconn.txt as the day's peak is read back at start.
#include <cstdint>
#include <string>

#include "feed/peak_file.h"
#include "fuzz_checks.h"

namespace {

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace netglobe;
  const std::string_view text = fuzz::text(data, size);
  const std::string today = "2026-03-14";
  const int peak = readpeak(LineReader::fromtext(text), today);
  FUZZ_CHECK(peak >= 0);
  // Only a file of today gives anything but the start value.
  if (peak != 1) {
    LineReader lines = LineReader::fromtext(text);
    std::string count, date;
    FUZZ_CHECK(lines.next(count) && lines.next(date) && trimmed(date) == today);
  }
  // What the program writes for that peak reads back as it.
  const std::string written = std::to_string(peak) + "\r\n" + today + "\r\n12:00:00\r\n";
  FUZZ_CHECK(readpeak(LineReader::fromtext(written), today) == peak);
  return 0;
}
