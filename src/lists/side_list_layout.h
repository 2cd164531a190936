#pragma once

#include <array>
#include <cstddef>

namespace netglobe {

inline constexpr int kSideBoxes = 6;      // Listbox1 to Listbox6
inline constexpr int kSideRowHeight = 16;  // pixels per row
inline constexpr int kSideListGap = 5;     // pixels between two boxes

struct SideBoxPlace {
  int top = 0;
  int height = 0;
  bool operator==(const SideBoxPlace&) const = default;
};

// Tops and heights of Listbox1 to Listbox6 from their row counts: each box
// as high as its rows, each 5 pixels below the one above it, Listbox1 at the
// top. Hidden boxes keep their place in the stack. A box's top depends only
// on the boxes above it, so after each list routine the window can place the
// boxes filled so far.
std::array<SideBoxPlace, kSideBoxes> stacksidelists(
    const std::array<std::size_t, kSideBoxes>& rowcounts);

}  // namespace netglobe
