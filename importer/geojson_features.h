#pragma once

// Reads FIR boundaries from a GeoJSON FeatureCollection (UTF-8). Each feature
// is one area of a FIR: property "id" is the four-character code, or
// CODE-ANYTHING for a sector of the FIR CODE; "name" the FIR's name;
// "label_lat" and "label_lon" where its label goes (numbers or numeric text).
// A feature with property "outline" instead names the FIR under whose outline
// its code is drawn (an alias entry of the directory; its geometry is not read).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fir_areas.h"
#include "import_error.h"

namespace netglobe::importer {

struct FirFeature {
  std::size_t number = 0;          // position in the collection, from 1
  std::string code;
  bool sector = false;
  std::string name;                // UTF-8, empty when none
  std::optional<LonLat> label;
  std::vector<Area> areas;         // continuous in longitude, valid
};

struct AliasFeature {
  std::size_t number = 0;
  std::string code;
  std::string name;
  std::optional<LonLat> label;
  std::string outline;
};

struct FeatureList {
  std::size_t count = 0;           // features in the collection
  std::vector<FirFeature> firs;
  std::vector<AliasFeature> aliases;
  std::vector<Problem> problems;
};

// Throws ImportError when the text is not JSON or not a FeatureCollection.
FeatureList readfeatures(std::string_view geojson);

// Four upper-case letters or digits.
bool isfircode(std::string_view text);

}  // namespace netglobe::importer
