// Making the fill triangles of every shipped FIR outline, as the first
// build of the active-FIR list that holds them does, once per outline.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "base/line_reader.h"
#include "base/number_text.h"
#include "geo/globe_coords.h"
#include "layers/fir_layers.h"
#include "render/outline_tessellator.h"

namespace {

using Ring = std::vector<netglobe::GlobePoint>;

std::vector<Ring> shippedoutlines() {
  netglobe::LineReader file(std::string(NETGLOBE_DATA_DIR) + "/fir1.dat");
  std::vector<Ring> rings(1);
  std::string line;
  while (file.next(line)) {
    if (line.empty()) continue;
    if (line[0] == '!') {
      if (!rings.back().empty()) rings.emplace_back();
      continue;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const netglobe::GlobePoint p = netglobe::getxyz(netglobe::leadingnumber(line.substr(0, colon)),
                                                    netglobe::leadingnumber(line.substr(colon + 1)),
                                                    netglobe::kActFirOffset);
    rings.back().push_back({float(p.x), float(p.y), float(p.z)});
  }
  if (rings.back().empty()) rings.pop_back();
  return rings;
}

void BM_fill_triangles_of_every_shipped_outline(benchmark::State& state) {
  const std::vector<Ring> rings = shippedoutlines();
  std::size_t triangles = 0;
  for (auto _ : state) {
    triangles = 0;
    for (const Ring& ring : rings) {
      const auto made = netglobe::filltriangles(ring);
      triangles += made ? made->size() / 3 : 0;
    }
  }
  state.counters["outlines"] = double(rings.size());
  state.counters["triangles"] = double(triangles);
}
BENCHMARK(BM_fill_triangles_of_every_shipped_outline)->Unit(benchmark::kMillisecond);

}  // namespace
