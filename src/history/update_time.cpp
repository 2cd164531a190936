#include "history/update_time.h"

#include <algorithm>

#include "base/text_search.h"
#include "feed/client_lines.h"

namespace netglobe {
namespace {

}  // namespace

std::string_view statusupdatetime(std::string_view body) {
  constexpr std::string_view kKey = "UPDATE";
  for (int i = 0; i < kStatusHeaderLines && !body.empty(); ++i) {
    const std::size_t lf = body.find('\n');
    const std::string_view line = body.substr(0, lf);
    body = lf == std::string_view::npos ? std::string_view{} : body.substr(lf + 1);
    if (!line.starts_with(kKey)) continue;
    const std::string_view rest = trimmed(line.substr(kKey.size()), " \t\r");
    if (!rest.starts_with('=')) continue;
    // A control character (a stray CR) ends the value: it is shown as a time.
    std::string_view value = trimmed(rest.substr(1), " \t\r").substr(0, kMaxUpdateText);
    const auto control = std::find_if(value.begin(), value.end(),
                                      [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return trimmed(value.substr(0, std::size_t(control - value.begin())), " \t\r");
  }
  return {};
}

}  // namespace netglobe
