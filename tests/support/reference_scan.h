#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/fields.h"
#include "base/line_reader.h"
#include "refdata/lookup_results.h"

namespace netglobe {

// The lookups as whole-file scans from the start, one read per call. The
// program asks the directories instead; these are the plain statement of
// what every lookup must give, for the tests, the fuzz targets and the
// benchmark, and are not part of the program. Each also reads a file's
// content handed over as a reader.

// folder/firs.dat: the first record of the code that names a boundary code
// (position 8) wins; otherwise the last record of the code does. fieldbuf
// keeps the fields of the last matching record split.
FirInfo scanfirinfo(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf);
FirInfo scanfirinfo(LineReader firs, std::string_view icao, FieldBuf& fieldbuf);

// folder/airports.dat, first matching line; its fields stay in fieldbuf.
// Without a match fieldbuf is left as it was.
AirportPos scanfirstairport(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf);
AirportPos scanfirstairport(LineReader airports, std::string_view icao, FieldBuf& fieldbuf);

// folder/airports.dat read to its end, every matching line split in turn, so
// the last one wins and fieldbuf holds it (or what it held, without a match).
AirportPos scanlastairport(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf);
AirportPos scanlastairport(LineReader airports, std::string_view icao, FieldBuf& fieldbuf);

// folder/fir1.dat: the outline under the first line whose characters 2 to 5
// equal key. The lines are copied into storage, which points refers to.
OutlineLines scanoutline(const std::string& folder, std::string_view key,
                         std::vector<std::string>& storage);
OutlineLines scanoutline(LineReader fir1, std::string_view key, std::vector<std::string>& storage);

}  // namespace netglobe
