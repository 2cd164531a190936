// coastline.dat as the coast layer reads it.
#include <cstdint>

#include "fuzz_checks.h"
#include "layers/static_layers.h"
#include "scene/scene_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace netglobe;
  const Layer layer = drawcoast(LineReader::fromtext(fuzz::text(data, size)));
  fuzz::checklayer(layer, kCoastList);
  // A readable file always gives its one GL_LINES primitive, empty or not.
  FUZZ_CHECK(layer.ops.countof(DrawOp::Kind::Begin) == 1);
  FUZZ_CHECK(layer.failure.empty());
  return 0;
}
