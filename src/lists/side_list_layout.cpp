#include "lists/side_list_layout.h"

namespace netglobe {

std::array<SideBoxPlace, kSideBoxes> stacksidelists(
    const std::array<std::size_t, kSideBoxes>& rowcounts) {
  std::array<SideBoxPlace, kSideBoxes> places{};
  int top = 0;
  for (std::size_t i = 0; i < places.size(); ++i) {
    places[i] = {top, static_cast<int>(rowcounts[i]) * kSideRowHeight};
    top += places[i].height + kSideListGap;
  }
  return places;
}

}  // namespace netglobe
