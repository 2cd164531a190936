#include "fir_import.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

#include "base/text_encoding.h"
#include "geo/globe_coords.h"
#include "layers/fir_layers.h"
#include "render/outline_tessellator.h"
#include "replace_files.h"

namespace netglobe::importer {
namespace {

// A FIR as its features give it: name and label from the first feature that
// has them, features with the plain code before sectors.
struct FirParts {
  std::string name;
  std::optional<LonLat> label;
  std::vector<Area> areas;
  std::vector<std::size_t> features;
};

std::map<std::string, FirParts> groupbycode(const std::vector<FirFeature>& features) {
  std::map<std::string, FirParts> firs;
  for (const bool sectors : {false, true}) {
    for (const FirFeature& f : features) {
      if (f.sector != sectors) continue;
      FirParts& fir = firs[f.code];
      if (fir.name.empty()) fir.name = f.name;
      if (!fir.label) fir.label = f.label;
      fir.areas.insert(fir.areas.end(), f.areas.begin(), f.areas.end());
      fir.features.push_back(f.number);
    }
  }
  return firs;
}

double normallon(double lon) { return lon - 360 * std::floor((lon + 180) / 360); }

std::string directoryline(const std::string& code, const std::string& name, const LonLat& label) {
  const std::string text = fieldtext1252(name);
  return code + "::" + (text.empty() ? code : text) + ":::" + numbertext(label.y()) + ":" +
         numbertext(normallon(label.x()));
}

}  // namespace

std::size_t FirImport::skipped() const {
  std::size_t n = 0;
  for (const Problem& p : problems) n += p.skipped;
  return n;
}

std::string numbertext(double value) {
  const double r = writtenvalue(value);
  if (r == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.4f", r);
  std::string text = buf;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

namespace {

// Whether the program fills the outline from triangles: the active-FIR layer
// fills the first outline of a code, at its points as written.
bool tessellates(const Ring& ring) {
  std::vector<GlobePoint> points;
  for (const LonLat& p : ring) {
    const GlobePoint at = getxyz(writtenvalue(p.y()), writtenvalue(p.x()), kActFirOffset);
    points.push_back({float(at.x), float(at.y), float(at.z)});  // as a display list holds it
  }
  return filltriangles(points).has_value();
}

}  // namespace

FirImport importfirs(std::string_view geojson) {
  FeatureList list = readfeatures(geojson);
  FirImport out;
  out.features = list.count;
  out.problems = std::move(list.problems);
  std::map<std::string, LonLat> written;  // code -> label point
  for (auto& [code, fir] : groupbycode(list.firs)) {
    const std::optional<std::vector<Area>> joined = joinareas(continuousframe(std::move(fir.areas)));
    const std::vector<Ring> rings = joined ? outlinerings(*joined, kMaxOutlinePoints) : std::vector<Ring>();
    if (rings.empty()) {
      const char* reason = joined ? "no outline left at 4 decimals" : "the areas of the FIR could not be joined";
      for (const std::size_t number : fir.features) {
        out.problems.push_back({reason, "feature " + std::to_string(number) + " \"" + code + "\""});
      }
      continue;
    }
    for (const Ring& ring : rings) {
      out.fir1 += (out.outlines++ ? "!\n!" : "!") + code + "\n";
      for (const LonLat& p : ring) out.fir1 += numbertext(p.y()) + ":" + numbertext(p.x()) + "\n";
    }
    if (!tessellates(rings[0])) out.stencilfills.push_back(code);
    const LonLat label = fir.label ? *fir.label : interiorpoint(rings[0]);
    out.firs += directoryline(code, fir.name, label) + "\n";
    written.emplace(code, label);
  }
  out.fir1 += "!!\n";
  out.firs_written = written.size();
  for (const AliasFeature& alias : list.aliases) {
    const std::string example = "feature " + std::to_string(alias.number) + " \"" + alias.code + "\"";
    const auto target = written.find(alias.outline);
    if (written.count(alias.code)) {
      out.problems.push_back({"alias of a code that has an outline of its own", example});
    } else if (target == written.end()) {
      out.problems.push_back({"outline names no FIR of the file", example});
    } else {
      out.firs += directoryline(alias.code, alias.name, alias.label.value_or(target->second)) + ":" +
                  alias.outline + "\n";
      ++out.aliases;
    }
  }
  return out;
}

FirImport importfile(const std::string& input, const std::string& folder, bool strict) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) throw ImportError(folder + " is not a folder");
  std::ifstream in(input, std::ios::binary);
  if (!in) throw ImportError("cannot read " + input);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw ImportError("cannot read " + input);
  FirImport result = importfirs(text);
  if (strict && !result.problems.empty()) {
    throw ImportError("nothing written: --strict takes every feature or none", importsummary(result));
  }
  if (result.firs_written == 0) {
    throw ImportError("nothing written: no usable FIR in " + input, importsummary(result));
  }
  replacefiles(folder, {{"fir1.dat", result.fir1}, {"firs.dat", result.firs}});
  return result;
}

std::string importsummary(const FirImport& result) {
  std::string out = std::to_string(result.firs_written) + " FIRs, " + std::to_string(result.outlines) +
                    " outlines";
  if (result.aliases) out += ", " + std::to_string(result.aliases) + " aliases";
  out += " from " + std::to_string(result.features) + " features\n";
  if (!result.stencilfills.empty()) {
    out += std::to_string(result.stencilfills.size()) +
           " outlines the tessellator refuses, filled through the stencil buffer:";
    for (const std::string& code : result.stencilfills) out += " " + code;
    out += "\n";
  }
  if (result.problems.empty()) return out;
  out += std::to_string(result.skipped()) + " of " + std::to_string(result.features) + " features skipped\n";
  std::vector<std::string> order;
  std::map<std::string, std::vector<std::string>> byreason;
  for (const Problem& p : result.problems) {
    if (!byreason.count(p.reason)) order.push_back(p.reason);
    byreason[p.reason].push_back(p.example);
  }
  for (const std::string& reason : order) {
    const std::vector<std::string>& examples = byreason[reason];
    out += "  " + std::to_string(examples.size()) + " x " + reason + ": ";
    for (std::size_t i = 0; i < examples.size() && i < 3; ++i) out += (i ? ", " : "") + examples[i];
    out += examples.size() > 3 ? ", ...\n" : "\n";
  }
  return out;
}

}  // namespace netglobe::importer
