// airports.dat and firs.dat as the directories hold them: every lookup
// gives what a scan of the file from its start gives, field buffer
// included, and never a coordinate that is not a finite number.
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "refdata/directories.h"
#include "refdata/keyed_lines.h"
#include "support/reference_scan.h"

namespace {

using namespace netglobe;

// A buffer holding what earlier lookups left.
const FieldBuf& used() {
  static const FieldBuf buf = [] {
    FieldBuf b;
    for (int n = 1; n <= FieldBuf::kPositions; ++n) b(n) = "was " + std::to_string(n);
    return b;
  }();
  return buf;
}

bool sameairport(const AirportPos& a, const AirportPos& b) {
  return a.readable == b.readable && a.found == b.found && a.destlat == b.destlat &&
         a.destlon == b.destlon;
}

// Field buffers of the directory and of the scan, equal before every lookup.
FieldBuf held;
FieldBuf scanned;

void checkairport(const AirportDirectory& airports, std::string_view text, std::string_view key) {
  AirportPos a = airports.getdestlatlon(key, held);
  FUZZ_CHECK(sameairport(a, scanfirstairport(LineReader::fromtext(text), key, scanned)));
  FUZZ_CHECK(fuzz::samefields(held, scanned));
  FUZZ_CHECK(std::isfinite(a.destlat) && std::isfinite(a.destlon));
  a = airports.lastairport(key, held);
  FUZZ_CHECK(sameairport(a, scanlastairport(LineReader::fromtext(text), key, scanned)));
  FUZZ_CHECK(fuzz::samefields(held, scanned));
  FUZZ_CHECK(std::isfinite(a.destlat) && std::isfinite(a.destlon));
}

void checkfir(const FirDirectory& firs, std::string_view text, std::string_view key) {
  const FirInfo a = firs.getfirinfo(key, held);
  const FirInfo b = scanfirinfo(LineReader::fromtext(text), key, scanned);
  FUZZ_CHECK(a.readable == b.readable && a.firfound == b.firfound && a.destlat == b.destlat &&
             a.destlon == b.destlon && a.fircode == b.fircode);
  FUZZ_CHECK(fuzz::samefields(held, scanned));
  FUZZ_CHECK(std::isfinite(a.destlat) && std::isfinite(a.destlon));
  if (a.firfound == 0) FUZZ_CHECK(a.fircode.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::text(data, size);
  AirportDirectory airports("/nonexistent");
  FirDirectory firs("/nonexistent");
  held = scanned = used();
  airports.load(LineReader::fromtext(text));
  firs.load(LineReader::fromtext(text));
  const auto checkkey = [&](std::string_view key) {
    checkairport(airports, text, key);
    checkfir(firs, text, key);
  };
  // The keys of the first lines, a shorter one and one too long.
  LineReader lines = LineReader::fromtext(text);
  std::string line;
  for (int i = 0; i < 4 && lines.next(line); ++i) {
    checkkey(linekey(line, 0));
    if (i == 0) checkkey(std::string_view(line).substr(0, 2));
  }
  checkkey("EDDT1");
  return 0;
}
