#include "scene/view_status.h"

#include <cmath>

#include "base/number_text.h"

namespace netglobe {

std::string viewstatusline(const ViewState& view) {
  const double lon = std::floor(static_cast<double>(view.viewlon));
  const double lat = std::floor(90.0 - static_cast<double>(view.viewtilt));
  return numtext(lon) + " / " + numtext(lat) + " / " + numtext(view.viewdist);
}

}  // namespace netglobe
