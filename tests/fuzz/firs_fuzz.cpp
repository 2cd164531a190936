// fir1.dat as the FIR layer reads it and as the outline directory holds it.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "layers/static_layers.h"
#include "refdata/directories.h"
#include "refdata/keyed_lines.h"
#include "support/reference_scan.h"
#include "scene/scene_state.h"

namespace {

using namespace netglobe;

// Every outline the layer draws is a closed loop.
void checkclosed(const Layer& layer) {
  std::vector<GlobePoint> loop;
  for (const DrawOp& op : layer.ops.ops()) {
    if (op.kind == DrawOp::Kind::Vertex) loop.push_back(op.point());
    if (op.kind != DrawOp::Kind::End) continue;
    if (!loop.empty()) {
      FUZZ_CHECK(loop.size() >= 2);
      const GlobePoint first = loop.front(), last = loop.back();
      FUZZ_CHECK(first.x == last.x && first.y == last.y && first.z == last.z);
    }
    loop.clear();
  }
}

// The directory gives what a scan of the file from its start gives.
void checkoutline(const OutlineDirectory& outlines, std::string_view text, std::string_view key) {
  std::vector<std::string> storage;
  const OutlineLines scanned = scanoutline(LineReader::fromtext(text), key, storage);
  const OutlineLines held = outlines.outline(key);
  FUZZ_CHECK(held.readable && scanned.readable);
  FUZZ_CHECK(held.found == scanned.found);
  FUZZ_CHECK(std::equal(held.points.begin(), held.points.end(), scanned.points.begin(),
                        scanned.points.end()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::text(data, size);
  const Layer layer = drawfirs(LineReader::fromtext(text));
  fuzz::checklayer(layer, kFirList);
  checkclosed(layer);

  OutlineDirectory outlines("/nonexistent");
  outlines.load(LineReader::fromtext(text));
  // The keys of the first lines, one that no line has and one too long.
  LineReader lines = LineReader::fromtext(text);
  std::string line;
  for (int i = 0; i < 8 && lines.next(line); ++i) checkoutline(outlines, text, linekey(line, 1));
  checkoutline(outlines, text, "");
  checkoutline(outlines, text, "EDWW1");
  return 0;
}
