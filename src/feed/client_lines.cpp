#include "feed/client_lines.h"

#include <utility>

namespace netglobe {

bool isclientmarker(std::string_view line) {
  // A CR LF body is stored with CR CR LF, so its lines keep one CR.
  while (line.ends_with('\r')) line.remove_suffix(1);
  return line == "!CLIENTS" || line == "!CLIENTS:";
}

ClientLines::ClientLines(LineReader file) : file_(std::move(file)) {
  std::string line;
  headerread_ = true;
  for (int i = 0; i < kStatusHeaderLines && headerread_; ++i) headerread_ = file_.next(line);
  if (headerread_ && file_.next(line) && !isclientmarker(line)) pending_ = std::move(line);
}

bool ClientLines::next(std::string& line) {
  if (!headerread_) {
    line.clear();
    return false;
  }
  if (pending_) {
    line = std::move(*pending_);
    pending_.reset();
    return true;
  }
  return file_.next(line);
}

}  // namespace netglobe
