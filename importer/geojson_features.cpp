#include "geojson_features.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

#include <nlohmann/json.hpp>

namespace netglobe::importer {
namespace {

using nlohmann::json;

// Longitudes may run past 180 degrees where a ring continues across the
// 180th meridian; beyond this they are taken as an error.
constexpr double kMaxLon = 540;

const char* const kBadId = "id is not a four-character code (A-Z, 0-9) or CODE-sector";
const char* const kBadGeometry = "geometry is not a Polygon or MultiPolygon";
const char* const kBadCoordinates = "coordinates are not longitude/latitude degrees";
const char* const kNoArea = "no ring of at least 3 points";
const char* const kInvalidArea = "not a valid area (an outline crosses itself or has no area)";
const char* const kBadLabel = "label ignored: label_lat and label_lon are not both numbers";
const char* const kBadOutline = "outline is not a four-character code";

const json* member(const json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(key);
  return it == object.end() || it->is_null() ? nullptr : &*it;
}

// An id or code as text: strings as they are, whole numbers written out.
std::string idtext(const json* value) {
  if (!value) return "";
  if (value->is_string()) return value->get<std::string>();
  if (value->is_number_integer()) return value->dump();
  return "";
}

std::string showid(std::string_view text) {
  std::string shown(text.substr(0, 24));
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return "\"" + shown + (text.size() > 24 ? "...\"" : "\"");
}

// A number given as a number or as numeric text; none when absent or empty.
enum class Given { none, number, bad };
Given numberof(const json* value, double& out) {
  if (!value) return Given::none;
  if (value->is_number()) {
    out = value->get<double>();
  } else if (value->is_string()) {
    const std::string& text = value->get_ref<const std::string&>();
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    if (b == e) return Given::none;
    if (text[b] == '+') ++b;
    const auto [end, ec] = std::from_chars(text.data() + b, text.data() + e, out);
    if (ec != std::errc() || end != text.data() + e) return Given::bad;
  } else {
    return Given::bad;
  }
  return std::isfinite(out) ? Given::number : Given::bad;
}

std::optional<LonLat> readlabel(const json& props, bool& bad) {
  double lat = 0, lon = 0;
  const Given glat = numberof(member(props, "label_lat"), lat);
  const Given glon = numberof(member(props, "label_lon"), lon);
  if (glat == Given::none && glon == Given::none) return std::nullopt;
  if (glat != Given::number || glon != Given::number || std::abs(lat) > 90 || std::abs(lon) > kMaxLon) {
    bad = true;
    return std::nullopt;
  }
  return LonLat(lon, lat);
}

// An open ring from a GeoJSON position list; false when a position is not
// a pair of degrees.
bool readring(const json& positions, Ring& ring) {
  if (!positions.is_array()) return false;
  for (const json& position : positions) {
    if (!position.is_array() || position.size() < 2 || !position[0].is_number() || !position[1].is_number()) {
      return false;
    }
    const double lon = position[0].get<double>(), lat = position[1].get<double>();
    if (!std::isfinite(lon) || !std::isfinite(lat) || std::abs(lat) > 90 || std::abs(lon) > kMaxLon) return false;
    ring.emplace_back(lon, lat);
  }
  if (ring.size() > 1 && ring.front().x() == ring.back().x() && ring.front().y() == ring.back().y()) ring.pop_back();
  return true;
}

// The polygons of a feature; a ring of fewer than 3 points is left out.
const char* readareas(const json* geometry, std::vector<Area>& areas) {
  const json* type = geometry ? member(*geometry, "type") : nullptr;
  const json* coordinates = geometry ? member(*geometry, "coordinates") : nullptr;
  if (!type || !coordinates || !coordinates->is_array()) return kBadGeometry;
  std::vector<const json*> polygons;
  if (*type == "Polygon") {
    polygons.push_back(coordinates);
  } else if (*type == "MultiPolygon") {
    for (const json& polygon : *coordinates) polygons.push_back(&polygon);
  } else {
    return kBadGeometry;
  }
  for (const json* polygon : polygons) {
    if (!polygon->is_array()) return kBadCoordinates;
    Area area;
    for (std::size_t i = 0; i < polygon->size(); ++i) {
      Ring ring;
      if (!readring((*polygon)[i], ring)) return kBadCoordinates;
      if (ring.size() < 3) {
        if (i == 0) break;
        continue;
      }
      (i == 0 ? area.outer : area.holes.emplace_back()) = std::move(ring);
    }
    if (area.outer.empty()) continue;
    for (Area& part : continuousareas(area)) {
      part.outer = canonicalring(part.outer);
      for (Ring& hole : part.holes) hole = canonicalring(hole);
      if (!isvalidarea(part)) part.holes.clear();  // a hole that does not fit is no loss: blocks have none
      if (!isvalidarea(part)) return kInvalidArea;
      areas.push_back(std::move(part));
    }
  }
  return areas.empty() ? kNoArea : nullptr;
}

}  // namespace

bool isfircode(std::string_view text) {
  if (text.size() != 4) return false;
  for (const char c : text) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

FeatureList readfeatures(std::string_view geojson) {
  json collection;
  try {
    collection = json::parse(geojson);
  } catch (const json::exception& e) {  // a syntax error, or a number past the range of a double
    const char* message = std::strchr(e.what(), ']');
    throw ImportError(std::string("the input is not JSON: ") + (message ? message + 2 : e.what()));
  }
  const json* features = member(collection, "features");
  if (!collection.is_object() || collection.value("type", json()) != "FeatureCollection" || !features ||
      !features->is_array()) {
    throw ImportError("the input is not a GeoJSON FeatureCollection");
  }
  FeatureList list;
  list.count = features->size();
  for (std::size_t i = 0; i < features->size(); ++i) {
    const json& feature = (*features)[i];
    const std::size_t number = i + 1;
    static const json none = json::object();
    const json* propsp = member(feature, "properties");
    const json& props = propsp ? *propsp : none;
    const std::string id = idtext(member(props, "id"));
    const std::string where = "feature " + std::to_string(number);
    const std::string example = where + " " + showid(id);
    const bool sector = id.size() > 5 && id[4] == '-' && isfircode(id.substr(0, 4));
    if (!isfircode(id) && !sector) {
      list.problems.push_back({kBadId, member(props, "id") ? example : where + " (no id)"});
      continue;
    }
    const json* name = member(props, "name");
    bool badlabel = false;
    const std::optional<LonLat> label = readlabel(props, badlabel);
    const auto labelproblem = [&] {
      if (badlabel) list.problems.push_back({kBadLabel, example, false});
    };
    if (const json* outline = member(props, "outline")) {
      const std::string code = idtext(outline);
      if (sector || !isfircode(code)) {
        list.problems.push_back({kBadOutline, example});
        continue;
      }
      labelproblem();
      list.aliases.push_back({number, id, name && name->is_string() ? name->get<std::string>() : "", label, code});
      continue;
    }
    FirFeature fir{number, id.substr(0, 4), sector, name && name->is_string() ? name->get<std::string>() : "",
                   label, {}};
    if (const char* reason = readareas(member(feature, "geometry"), fir.areas)) {
      list.problems.push_back({reason, example});
      continue;
    }
    labelproblem();
    list.firs.push_back(std::move(fir));
  }
  return list;
}

}  // namespace netglobe::importer
