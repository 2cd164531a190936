#include "feed/json_record.h"

#include <algorithm>
#include <cctype>

namespace netglobe {

namespace {

bool alldigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Leading zeros dropped, "0" for none at all.
std::string asnumber(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? "0" : std::string(digits.substr(first));
}

}  // namespace

void ClientRecord::clear() {
  for (std::string& field : fields_) field.clear();
}

void ClientRecord::appendto(std::string& out) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (i > 0) out += ':';
    const std::size_t start = out.size();
    out += fields_[i];
    std::replace_if(
        out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
        [](char c) { return c == ':' || c == '\r' || c == '\n' || c == '\0'; }, ' ');
  }
  out += '\n';
}

std::string compacttime(std::string_view iso) {
  const std::size_t end = iso.find_first_of(".Z");
  std::string digits;
  for (char c : iso.substr(0, end)) {
    if (c >= '0' && c <= '9') {
      digits += c;
    } else if (c != '-' && c != 'T' && c != ':') {
      return {};
    }
  }
  return digits.size() == 14 ? digits : std::string();
}

void splitclock(std::string_view hhmm, std::string& hours, std::string& minutes) {
  if (!alldigits(hhmm)) {
    hours.clear();
    minutes.clear();
    return;
  }
  const std::size_t split = hhmm.size() > 2 ? hhmm.size() - 2 : 0;
  hours = asnumber(hhmm.substr(0, split));
  minutes = asnumber(hhmm.substr(split));
}

void splitseconds(long long seconds, std::string& hours, std::string& minutes) {
  if (seconds < 0) {
    hours.clear();
    minutes.clear();
    return;
  }
  hours = std::to_string(seconds / 3600);
  minutes = std::to_string(seconds % 3600 / 60);
}

}  // namespace netglobe
