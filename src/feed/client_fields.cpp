#include "feed/client_fields.h"

#include <algorithm>

namespace netglobe {

void splitclient(std::string_view curline, FieldBuf& fieldbuf) {
  getfields(curline, fieldbuf);
  const int pieces =
      curline.empty() ? 0 : static_cast<int>(std::count(curline.begin(), curline.end(), ':')) + 1;
  // getfields has written the terminator right after the last piece.
  for (int n = pieces + 2; n <= kLastClientPosition; ++n) fieldbuf(n).clear();
}

}  // namespace netglobe
