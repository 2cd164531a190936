#include "layers/record_fields.h"

#include <algorithm>

namespace netglobe {

void splitrecord(std::string_view line, FieldBuf& fieldbuf, int upto) {
  for (int n = 1; n <= upto; ++n) fieldbuf(n).clear();
  getfields(line, fieldbuf);
}

std::string_view lookupkey(std::string_view text) { return text.substr(0, 4); }

int entrycount(const std::vector<std::string>& lines, int count) {
  return std::clamp(count, 0, static_cast<int>(lines.size()) - 1);
}

}  // namespace netglobe
