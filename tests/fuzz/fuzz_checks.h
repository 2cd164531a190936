#pragma once

// What every fuzz target checks beyond "does not crash". A broken property
// aborts, so libFuzzer keeps the input and the corpus replay fails on it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/fields.h"
#include "scene/layer.h"

namespace netglobe::fuzz {

[[noreturn]] void fail(const char* what, const char* file, int line);

#define FUZZ_CHECK(cond) ((cond) ? (void)0 : ::netglobe::fuzz::fail(#cond, __FILE__, __LINE__))

// The input as text.
inline std::string_view text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// An input that stands for several files: the parts between lines that
// hold only "====". Parts the input does not have are empty.
std::vector<std::string_view> parts(std::string_view input, std::size_t count);

// A built layer as the GL scene will compile it:
// - it is the expected list;
// - every number is finite, and every vertex and raster position lies on
//   the overlay shell (a coordinate read from a field never leaves it);
// - every Begin has its End, primitives do not nest, and inside one stand
//   only vertices, colours and the direction layer's line width;
// - GL_LINES gets whole segments, GL_TRIANGLES whole triangles, a fan at
//   least one triangle;
// - selection names, raster positions and glyphs stand outside primitives,
//   a glyph only after a raster position, and only codes with a glyph list;
void checklayer(const Layer& layer, int list);

// The selection names a layer loads or pushes, in order.
std::vector<std::uint32_t> loadednames(const DrawList& ops);

bool samefields(const FieldBuf& a, const FieldBuf& b);

}  // namespace netglobe::fuzz
