#pragma once

#include <string>
#include <vector>

namespace netsim {

// A place the simulated network refers to by its four-character code: an
// airport of airports.dat or a FIR of firs.dat, with its reference point.
struct Place {
  std::string code;
  double lat = 0;
  double lon = 0;
};

// The reference data the simulated clients are built from.
struct World {
  std::vector<Place> airports;   // every airport pilots may use
  std::vector<Place> busy;       // large airports: most traffic and stations
  std::vector<Place> home;       // the home aerodromes, in their listing order
  std::vector<Place> firs;       // every FIR centre stations may staff
  std::vector<Place> corefirs;   // European FIRs, staffed more often
  bool builtinairports = false;  // airports.dat was missing or unusable
  bool builtinfirs = false;      // firs.dat was missing or unusable

  // The FIR with this code, or nullptr.
  const Place* fir(const std::string& code) const;
};

// Reads airports.dat ("CODE:name:place:::lat:lon") and firs.dat
// ("CODE::NAME:::lat:lon:BOUNDARY") from dir. A file that is missing or has
// no usable record is replaced by the built-in set. The first record of a
// code wins, as in NetGlobe's own lookups; records at 0/0 are left out,
// because NetGlobe takes latitude 0 for "not found".
World loadworld(const std::string& dir);
// The same from two files that need not share a folder.
World loadworld(const std::string& airportsfile, const std::string& firsfile);

// The built-in airports and FIRs alone.
World builtinworld();

}  // namespace netsim
