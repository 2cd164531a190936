#pragma once

#include <string>
#include <string_view>

#include "base/fields.h"

namespace netglobe {

// Both lookups match the first four characters of a line against the key,
// exactly and case-sensitively, and read the file from its start on every
// call. A file that cannot be opened leaves readable false: the caller ends
// its layer or label then.

struct FirInfo {
  bool readable = true;
  double destlat = 0;  // the FIR's label position; 0/0 when not found
  double destlon = 0;
  int firfound = 0;
  std::string fircode;  // where its outline lies in fir1.dat; only when firfound is 1
};

// Looks icao up in folder/firs.dat. The first record of the code that names
// a boundary code (position 8) wins; otherwise the last record of the code
// does. fieldbuf keeps the fields of the last matching record read.
FirInfo getfirinfo(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf);

struct AirportPos {
  bool readable = true;
  double destlat = 0;  // 0/0 when not found; callers take latitude 0 as not found
  double destlon = 0;
};

// Looks icao up in folder/airports.dat; the first matching line wins and its
// fields stay in fieldbuf. Without a match fieldbuf is left as it was.
AirportPos getdestlatlon(const std::string& folder, std::string_view icao, FieldBuf& fieldbuf);

}  // namespace netglobe
