#include "base/fields.h"

namespace netglobe {

void getfields(std::string_view curline, FieldBuf& fieldbuf) {
  constexpr int kLastField = FieldBuf::kPositions - 1;
  int k = 0;
  if (!curline.empty()) {
    std::size_t start = 0;
    while (k < kLastField) {
      const std::size_t colon = curline.find(':', start);
      const std::size_t end = colon == std::string_view::npos ? curline.size() : colon;
      fieldbuf(++k).assign(curline.substr(start, end - start));
      if (colon == std::string_view::npos) break;
      start = colon + 1;
    }
  }
  fieldbuf(k + 1).clear();
}

bool getfields2(std::string_view curline, FieldBuf& fieldbuf) {
  const std::size_t colon = curline.find(':');
  if (colon == std::string_view::npos) return false;
  fieldbuf(1).assign(curline.substr(0, colon));
  fieldbuf(2).assign(curline.substr(colon + 1));
  return true;
}

}  // namespace netglobe
