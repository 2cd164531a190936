#pragma once

// Turns FIR boundaries (GeoJSON) into the contents of fir1.dat and firs.dat.
//
// fir1.dat: every block is "!CODE", its "latitude:longitude" lines and a
// closing line "!" of its own; the last block is closed by "!!" instead. The
// outline layer skips the line after each closing line, which is then always
// the next block's header, so no outline loses a point. The active-FIR layer
// reads only the first block of a code, so a FIR's largest part comes first.
// firs.dat: "CODE::NAME:::latitude:longitude" per FIR, sorted by code, then
// "CODE::NAME:::latitude:longitude:OUTLINE" per alias.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "geojson_features.h"

namespace netglobe::importer {

constexpr std::size_t kMaxOutlinePoints = 500;

struct FirImport {
  std::string fir1;                // windows-1252 file contents
  std::string firs;
  std::size_t features = 0;        // features in the input
  std::size_t firs_written = 0;
  std::size_t outlines = 0;
  std::size_t aliases = 0;
  std::vector<Problem> problems;   // in the order of the features
  // FIRs whose outline the fill's tessellator refuses (one that crosses
  // itself): the program fills them through the stencil buffer instead.
  std::vector<std::string> stencilfills;

  std::size_t skipped() const;     // features left out whole
};

// The parts of one FIR (features with its code and with CODE-sector ids) are
// joined into one set of areas, so that the edges they share disappear, and
// only then reduced to outlines. Throws ImportError when the input is no
// FeatureCollection.
FirImport importfirs(std::string_view geojson);

// Reads the GeoJSON file input and replaces fir1.dat and firs.dat in
// folder. Throws ImportError, and writes nothing, when the input cannot be
// read, no FIR in it is usable, or strict is set and anything was left out.
FirImport importfile(const std::string& input, const std::string& folder, bool strict);

// What was written and what was left out, grouped by reason with a few
// examples each.
std::string importsummary(const FirImport& result);

// A coordinate as the files write it: 4 decimals, no trailing zeros, never "-0".
std::string numbertext(double value);

}  // namespace netglobe::importer
