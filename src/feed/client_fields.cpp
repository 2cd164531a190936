#include "feed/client_fields.h"

#include <algorithm>

namespace netglobe {

ClientFields::ClientFields(std::string_view curline, int last) {
  if (curline.empty()) return;
  const auto end = static_cast<std::size_t>(std::clamp(last, 0, kLastClientPosition));
  std::size_t start = 0;
  for (std::size_t n = 1; n <= end; ++n) {
    const std::size_t colon = curline.find(':', start);
    fields_[n] = curline.substr(start, colon == std::string_view::npos ? colon : colon - start);
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
}

}  // namespace netglobe
